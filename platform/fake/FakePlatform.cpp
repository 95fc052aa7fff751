#include "platform/fake/FakePlatform.h"

std::uint64_t FakePlatform::Now() const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    return world.now;
}

void FakePlatform::AdvanceClock(std::uint64_t milliseconds) {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    world.now += milliseconds;
    world.changed.notify_all();
}

std::vector<std::string> FakePlatform::Calls() const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    return world.calls;
}

std::vector<FakePlatform::TimedCall> FakePlatform::Timeline() const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    std::vector<TimedCall> timeline;
    for (std::size_t i = 0; i < world.calls.size(); ++i)
        timeline.push_back(TimedCall{world.callTimes[i], world.calls[i]});
    return timeline;
}

int FakePlatform::CallIndex(const std::string& prefix) const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    for (std::size_t i = 0; i < world.calls.size(); ++i)
        if (world.calls[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    return -1;
}

std::vector<Text> FakePlatform::DebugLines() const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    return world.debugLines;
}

std::vector<std::uint64_t> FakePlatform::Sleeps() const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    return world.sleeps;
}

std::uint64_t FakePlatform::TotalSlept() const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    std::uint64_t total = 0;
    for (auto ms : world.sleeps) total += ms;
    return total;
}

std::vector<std::string> FakePlatform::Hangs() const {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    return world.hangs;
}

void FakePlatform::ClearCalls() {
    std::lock_guard<std::recursive_mutex> guard(world.lock);
    world.calls.clear();
    world.callTimes.clear();
    world.sleeps.clear();
}
