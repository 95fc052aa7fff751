// The one place where the read-back chain learns whether a collection it
// waits for has ended, and whether it ended with the mouse's answers. The
// input thread tells of every collection that completed (its last answer
// handled); the main thread asks. A collection that ended any other way
// (overdue answers, the mouse closed or gone) counts as nothing read.
#pragma once

#include <atomic>
#include <cstdint>

#include "app/ReadBackChain.h"

enum class CollectionWait {
    Busy,              // still collecting: the step waits
    EndedWithData,     // a collection completed since the last step took one
    EndedWithoutData   // nothing new was collected
};

class ReadBackWait {
public:
    // Input thread, around the handling of one report: busy before, and
    // still busy or ended without its answers after.
    void ReportHandled(ReadBackCollection which, bool busyBefore, bool busyAfter);
    // Main thread: what a step sees with the flag as it is now. A completed
    // collection is handed to one step only.
    CollectionWait Take(ReadBackCollection which, bool busyNow);

private:
    struct Counts {
        std::atomic<std::uint32_t> Completed{0};
        std::uint32_t Taken = 0;  // main thread only
    };
    Counts& Of(ReadBackCollection which) { return which == ReadBackCollection::Short ? short_ : bulk_; }

    Counts short_;
    Counts bulk_;
};
