// The collection of the reports that answer a read-back request: while a
// collection flag is set, the decoded payload (bytes 1 to 8) of each report
// is stored in a process-wide block, 8 bytes per report, and the flag is
// cleared after the last one. The flags live with their owner (the main
// window); counters and blocks live here, the blocks behind a lock and
// copied out whole.
//
// A four-report collection always ends: complete with its four answers, or
// without data when they do not all come within kReadBackAnswerTimeoutMs of
// the request, or when the mouse is closed, unplugged or reopened meanwhile.
// Otherwise whatever reports came next (button presses included) would be
// taken for the answers.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "device/DeviceProtocol.h"

constexpr DWORD kReadBackAnswerTimeoutMs = 1000;

enum class ReadBackState {
    Idle,              // never armed
    Pending,           // armed, answers still expected
    Complete,          // four answers in the block
    EndedWithoutData,  // timed out or cancelled: nothing was read
};

class ReadBackCollector {
public:
    // Starts a four-report collection at `now` (the system tick count):
    // clears the block and the counter, then sets shortBusy.
    void Arm(std::atomic<std::int32_t>& shortBusy, DWORD now);
    // Gathers one report when shortBusy is set (four reports, 64-byte
    // block), else when bulkBusy is set (192 reports, 1,536-byte block).
    // `decode` transforms a 9-byte frame in place (may be null). A report
    // that comes after the collection's time is up ends it without data
    // and is not gathered.
    void Gather(const std::uint8_t* report, std::size_t length, std::atomic<std::int32_t>& shortBusy,
                std::atomic<std::int32_t>& bulkBusy, void (*decode)(std::uint8_t* frame), DWORD now);
    // Where the four-report collection stands at `now`; a pending one whose
    // time is up ends here, without data. Steps that wait for the answers
    // ask this and treat EndedWithoutData as nothing read.
    ReadBackState ShortState(std::atomic<std::int32_t>& shortBusy, DWORD now);
    // The mouse was closed, unplugged or reopened: both collections stop,
    // a pending four-report one ends without data.
    void Cancel(std::atomic<std::int32_t>& shortBusy, std::atomic<std::int32_t>& bulkBusy);

    std::array<std::uint8_t, kReadBackBlockSize> Block() const;
    std::array<std::uint8_t, kBulkReadBackSize> BulkBlock() const;
    int Counter() const { return counter_.load(); }
    void Reset();

private:
    // Called with lock_ held: a set flag that was not armed here (set by its
    // owner directly) counts from `now`; a pending collection past its time ends.
    void CheckShortLocked(std::atomic<std::int32_t>& shortBusy, DWORD now);
    void EndShortWithoutDataLocked(std::atomic<std::int32_t>& shortBusy);

    mutable std::mutex lock_;
    std::array<std::uint8_t, kReadBackBlockSize> block_{};
    std::array<std::uint8_t, kBulkReadBackSize> bulk_{};
    std::atomic<int> counter_{0};
    std::atomic<int> bulkCounter_{0};
    ReadBackState shortState_ = ReadBackState::Idle;
    DWORD armedAt_ = 0;
};

// The process-wide read-back state.
extern ReadBackCollector ReadBack;
