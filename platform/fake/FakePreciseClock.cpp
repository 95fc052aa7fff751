#include "platform/fake/FakePreciseClock.h"

FakePreciseClock::FakePreciseClock(std::function<std::uint64_t()> nowMilliseconds,
                                   std::function<void(std::uint64_t)> advanceMilliseconds)
    : now_(std::move(nowMilliseconds)), advance_(std::move(advanceMilliseconds)) {}

std::uint64_t FakePreciseClock::NowMicroseconds() { return now_() * 1000; }

void FakePreciseClock::WaitUntil(std::uint64_t dueMicroseconds) {
    const std::uint64_t now = NowMicroseconds();
    {
        std::lock_guard<std::mutex> guard(lock_);
        waits_.push_back(FakeWait{now, dueMicroseconds});
    }
    // The virtual clock counts whole milliseconds: round the wait up.
    if (dueMicroseconds > now) advance_((dueMicroseconds - now + 999) / 1000);
}

std::vector<FakeWait> FakePreciseClock::Waits() const {
    std::lock_guard<std::mutex> guard(lock_);
    return waits_;
}

int FakePreciseClock::WaitsAlreadyDue() const {
    std::lock_guard<std::mutex> guard(lock_);
    int count = 0;
    for (const FakeWait& wait : waits_)
        if (wait.due <= wait.calledAt) ++count;
    return count;
}
