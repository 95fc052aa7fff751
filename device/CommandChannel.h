// The one owner of the mouse's command channel. Every operation of the
// command set runs as one transaction, from its device guard to the pause
// after its last report, and no transaction starts inside another one of
// another thread. The mouse takes any command report as the end of a data
// stream (the macro area's 378 reports, the stage tables), so a command that
// came between two reports of a stream would cut it short and have the rest
// stored as something else. The pauses between the reports of a stream are
// the mouse's time to store them: they belong inside the transaction.
//
// Who waits how long:
// - the thread that holds the channel enters again at once (an operation's
//   guard may reopen the mouse, and the arrival that follows probes it);
// - the window's thread waits as long as it takes, answering the messages
//   other threads send it meanwhile: an open on another thread (the input
//   thread's guard) sends the library's collection notices to it and waits;
// - any other thread (the input thread's resolution functions) waits at
//   most a bound of the system clock, then is refused.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/WinTypes.h"

class CommandChannel {
public:
    // Long enough for a whole full write (about 7.3 s with macros): a
    // resolution press during one waits for its end and then takes effect.
    static constexpr DWORD kOtherThreadWaitMs = 10000;

    // Enters a transaction; false when refused (another thread's
    // transaction outlasted the bound). `onWindowThread` picks the wait.
    bool Enter(bool onWindowThread, DWORD boundMs = kOtherThreadWaitMs);
    // Enters only when no other thread holds the channel.
    bool TryEnter();
    void Leave();
    // The thread in a transaction, 0 for none.
    DWORD Holder() const;
    // Threads waiting to enter now.
    int Waiting() const;

private:
    bool FreeForLocked(DWORD thread) const { return owner_ == 0 || owner_ == thread; }
    void TakeLocked(DWORD thread);

    mutable std::mutex lock_;
    std::condition_variable released_;
    DWORD owner_ = 0;
    int depth_ = 0;
    int waiting_ = 0;
};
