#include "device/CommandChannel.h"

#include <chrono>

#include "platform/Platform.h"

namespace {
// How often a waiting thread looks again (real time) when no release woke it:
// the window's thread answers sent messages, another thread reads the clock.
constexpr std::chrono::milliseconds kLookAgain{2};
}  // namespace

void CommandChannel::TakeLocked(DWORD thread) {
    owner_ = thread;
    ++depth_;
}

bool CommandChannel::Enter(bool onWindowThread, DWORD boundMs) {
    const DWORD self = Sys().Kernel.GetCurrentThreadId();
    std::unique_lock<std::mutex> guard(lock_);
    if (FreeForLocked(self)) {
        TakeLocked(self);
        return true;
    }
    ++waiting_;
    if (onWindowThread) {
        while (!FreeForLocked(self)) {
            guard.unlock();
            Sys().Windows.HandleSentMessages();
            guard.lock();
            if (FreeForLocked(self)) break;
            released_.wait_for(guard, kLookAgain);
        }
    } else {
        const DWORD start = Sys().Kernel.GetTickCount();
        while (!FreeForLocked(self)) {
            if (Sys().Kernel.GetTickCount() - start >= boundMs) {
                --waiting_;
                return false;
            }
            released_.wait_for(guard, kLookAgain);
        }
    }
    --waiting_;
    TakeLocked(self);
    return true;
}

bool CommandChannel::TryEnter() {
    const DWORD self = Sys().Kernel.GetCurrentThreadId();
    std::lock_guard<std::mutex> guard(lock_);
    if (!FreeForLocked(self)) return false;
    TakeLocked(self);
    return true;
}

void CommandChannel::Leave() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (depth_ == 0) return;
        if (--depth_ == 0) owner_ = 0;
    }
    released_.notify_all();
}

DWORD CommandChannel::Holder() const {
    std::lock_guard<std::mutex> guard(lock_);
    return owner_;
}

int CommandChannel::Waiting() const {
    std::lock_guard<std::mutex> guard(lock_);
    return waiting_;
}
