#include "platform/fake/FakeWorld.h"

#include <sstream>

FakeWorld::FakeWorld() { threadIds_[std::this_thread::get_id()] = kMainThreadId; }

DWORD FakeWorld::CurrentThreadId() {
    std::lock_guard<std::recursive_mutex> guard(lock);
    auto [it, added] = threadIds_.try_emplace(std::this_thread::get_id(), nextForeignThreadId_);
    if (added) ++nextForeignThreadId_;
    return it->second;
}

void FakeWorld::AdoptThread(DWORD id) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    threadIds_[std::this_thread::get_id()] = id;
}

void FakeWorld::Record(const std::string& call) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    calls.push_back(call);
    callTimes.push_back(now);
}

std::string FakeHex(std::uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}
