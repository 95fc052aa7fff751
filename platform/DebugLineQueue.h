// The lines on their way to the system's debug channel. The system's call
// can wait without limit (on a mutex any program can hold) and then up to
// 10 s for a reader, so the threads that make lines only put them here and
// one writer thread hands them on: a push never waits for the channel. The
// queue is bounded; a line that does not fit is counted, and the count goes
// out as a line of its own once the channel moves again.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/Text.h"

class DebugLineQueue {
public:
    static constexpr std::size_t kMostLines = 1024;

    // Never waits for the channel; false when the line was dropped.
    bool Push(Text line);
    // The next line for the channel, waiting up to `timeoutMs` for one (0:
    // none if the queue is empty). With `wokenByPush` a push ends the wait;
    // without it the writer polls, and pushes meanwhile cost the pushing
    // thread no wake-up call into the system. After
    // a line that went out (the channel moved) and with lines dropped since,
    // the next line says how many.
    std::optional<Text> Next(unsigned timeoutMs, bool wokenByPush = true);
    // The writer handed the last line to the channel.
    void Written();
    // Waits up to `timeoutMs` until every line has gone to the channel.
    bool WaitUntilWritten(unsigned timeoutMs);

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Text> lines_;
    std::size_t dropped_ = 0;
    bool writing_ = false;
    bool writerWaiting_ = false;  // the writer sleeps in Next until a push wakes it
};
