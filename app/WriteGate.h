// Nothing else runs inside a full write. The write waits on the main thread
// with paint-only waits, and under Wine a paint-only peek still runs the
// messages other threads send and the foreground event hook's calls
// (tests/conformance/MessageWaitConformance.cpp). So while a write runs,
// the control messages, timer steps, foreground checks and shut-down
// requests that reach the window are kept, in arrival order, and handled
// right after the write, in that order: by this rule, not by what a peek
// filter lets through. A sender of a kept message gets 0 at once.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>

#include "platform/WinTypes.h"

struct KeptMessage {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

// True for the messages a write keeps for later: the configuration
// programs' control messages, 0x7EB, the console's session change, WM_CLOSE,
// and the ticks of the foreground timer and of the read-back steps. The
// library's collection notices are not kept: an open inside the write needs
// them at once.
bool KeptDuringWrite(UINT message, WPARAM wParam);

class WriteGate {
public:
    // Beyond this many kept messages, more are dropped (with a debug line).
    static constexpr std::size_t kMostKept = 256;

    void Begin() { active_ = true; }
    bool Active() const { return active_; }
    // Keeps the message when a write runs and it is one to keep.
    bool Keep(UINT message, WPARAM wParam, LPARAM lParam);
    // The write has ended: hands every kept message to `handle`, in order,
    // also those kept meanwhile by a write that a handled message started.
    void End(const std::function<void(const KeptMessage&)>& handle);

private:
    bool active_ = false;
    bool handing_ = false;
    std::deque<KeptMessage> kept_;
};
