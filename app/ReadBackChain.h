// The read-back chain as data: five steps, one per timer tick, each waiting
// for a collection to end, copying a buffer into a slot, issuing a request
// and arming the next step's timer.
#pragma once

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "platform/WinTypes.h"

enum class ReadBackCollection { Short, Bulk };  // the 4-report and the 192-report collection
enum class ReadBackNext { Query, RequestShort, Finish };

struct ReadBackStep {
    int Number;                     // 1 to 5
    UINT_PTR TimerId;
    ReadBackCollection WaitsFor;    // also the buffer copied: the block or the bulk buffer
    int Slot;                       // short or bulk slot 0 to 2
    ReadBackNext Then;
    UINT_PTR Arms;                  // 0: none
};

constexpr ReadBackStep kReadBackSteps[] = {
    {1, kReadBackStep1TimerId, ReadBackCollection::Short, 0, ReadBackNext::Query, kReadBackStep2TimerId},
    {2, kReadBackStep2TimerId, ReadBackCollection::Bulk, 1, ReadBackNext::RequestShort, kReadBackStep3TimerId},
    {3, kReadBackStep3TimerId, ReadBackCollection::Short, 1, ReadBackNext::Query, kReadBackStep4TimerId},
    {4, kReadBackStep4TimerId, ReadBackCollection::Bulk, 2, ReadBackNext::RequestShort, kReadBackStep5TimerId},
    {5, kReadBackStep5TimerId, ReadBackCollection::Short, 2, ReadBackNext::Finish, 0},
};

// The step a timer id belongs to; null for any other id.
constexpr const ReadBackStep* FindReadBackStep(UINT_PTR timerId) {
    for (const auto& step : kReadBackSteps)
        if (step.TimerId == timerId) return &step;
    return nullptr;
}
