#include "platform/DebugLineQueue.h"

#include <chrono>
#include <string>

bool DebugLineQueue::Push(Text line) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (lines_.size() >= kMostLines) {
            ++dropped_;
            return false;
        }
        lines_.push_back(std::move(line));
        // Only a writer asleep until a push needs the wake-up (it costs the
        // pushing thread a call into the system), or a polling one when the
        // queue fills up.
        if (!writerWaiting_ && lines_.size() < kMostLines / 2) return true;
    }
    changed_.notify_all();
    return true;
}

std::optional<Text> DebugLineQueue::Next(unsigned timeoutMs, bool wokenByPush) {
    std::unique_lock<std::mutex> guard(lock_);
    writerWaiting_ = wokenByPush;
    const bool got =
        changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return !lines_.empty(); });
    writerWaiting_ = false;
    if (!got) return std::nullopt;
    Text line = std::move(lines_.front());
    lines_.pop_front();
    if (dropped_ > 0) {
        // The count goes out right after this line: ahead of the newer ones.
        lines_.push_front(TextFromUtf8("debug output: " + std::to_string(dropped_) +
                                       " lines dropped while the channel was stuck\n"));
        dropped_ = 0;
    }
    writing_ = true;
    return line;
}

void DebugLineQueue::Written() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        writing_ = false;
    }
    changed_.notify_all();
}

bool DebugLineQueue::WaitUntilWritten(unsigned timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [this] { return lines_.empty() && !writing_; });
}
