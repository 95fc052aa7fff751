// The fine clock on a test's virtual time: it reads a millisecond clock (the
// fake platform's) and a wait moves that clock forward to the due time.
// Every wait is recorded, and counts as one yield of the processor.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/PreciseClock.h"

struct FakeWait {
    std::uint64_t calledAt = 0;  // microseconds
    std::uint64_t due = 0;       // microseconds
};

class FakePreciseClock final : public PreciseClock {
public:
    // `nowMilliseconds` reads the virtual clock; `advanceMilliseconds` moves it on.
    FakePreciseClock(std::function<std::uint64_t()> nowMilliseconds,
                     std::function<void(std::uint64_t)> advanceMilliseconds);

    std::uint64_t NowMicroseconds() override;
    void WaitUntil(std::uint64_t dueMicroseconds) override;

    std::vector<FakeWait> Waits() const;
    // Waits whose due time had already come when they were called.
    int WaitsAlreadyDue() const;

private:
    std::function<std::uint64_t()> now_;
    std::function<void(std::uint64_t)> advance_;
    mutable std::mutex lock_;
    std::vector<FakeWait> waits_;
};
