// What the fake platform's areas share: one lock, the virtual clock, the
// record of every call, and the identity of the threads that call in.
//
// Virtual time: one clock for the process, starting at 0. Sleep advances it
// by the time slept; a thread waiting for a message with a timer pending
// advances it to the timer's due time, but only while no other thread of the
// fake is running (a thread it started that is not waiting for a message).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Text.h"
#include "platform/WinTypes.h"

class FakeWorld {
public:
    static constexpr DWORD kMainThreadId = 1000;

    FakeWorld();

    // The calling thread's id: kMainThreadId for the thread that made the
    // fake, the id handed out by CreateThread for the fake's own threads, and
    // a fresh id, on first use, for any other thread.
    DWORD CurrentThreadId();
    // Gives the calling thread an id of the fake's own threads.
    void AdoptThread(DWORD id);

    void Record(const std::string& call);

    // Threads started by the fake that are running (not waiting for a message).
    void ThreadStarted() { ++runningThreads_; }
    void ThreadWaiting() { --runningThreads_; }
    void ThreadResumed() { ++runningThreads_; }
    void ThreadEnded() { --runningThreads_; }
    // Running threads other than the caller (which is itself running).
    int OtherRunningThreads(bool callerIsFakeThread) const {
        return runningThreads_ - (callerIsFakeThread ? 1 : 0);
    }
    bool IsFakeThread(DWORD id) const { return id >= kFirstFakeThreadId && id < kFirstForeignThreadId; }
    DWORD NextFakeThreadId() { return nextFakeThreadId_++; }

    mutable std::recursive_mutex lock;
    mutable std::condition_variable_any changed;  // any queue, timer or thread state changed
    std::uint64_t now = 0;
    DWORD lastError = 0;
    bool stopping = false;  // the fake is being torn down: every wait ends
    std::vector<std::string> calls;
    std::vector<std::uint64_t> callTimes;  // the virtual time of each call
    std::vector<std::uint64_t> sleeps;
    std::vector<Text> debugLines;
    // Waits that would never have ended (nothing left that could wake them).
    std::vector<std::string> hangs;
    // How long a wait that nothing can end is given (real time).
    std::chrono::milliseconds hangAfter{10000};
    std::uintptr_t nextHandle = 0x100;

private:
    static constexpr DWORD kFirstFakeThreadId = 2000;
    static constexpr DWORD kFirstForeignThreadId = 3000;
    std::map<std::thread::id, DWORD> threadIds_;
    DWORD nextFakeThreadId_ = kFirstFakeThreadId;
    DWORD nextForeignThreadId_ = kFirstForeignThreadId;
    int runningThreads_ = 0;
};

// Hex text of a number, "0x1a", for call records.
std::string FakeHex(std::uint64_t value);
