#include "actions/MacroWorker.h"

#include <atomic>

#include "actions/HeldInput.h"
#include "platform/Platform.h"

namespace {

// Plays passes from now on, each followed by the pause between passes,
// for as long as `goOn` holds when tested after a pause.
template <typename Condition>
void RepeatPasses(MacroSource& source, int button, Condition goOn) {
    PreciseClock& clock = Sys().Clock;
    std::uint64_t start = clock.NowMicroseconds();
    do {
        start = PlayMacroPassFrom(source, button, start) + kMacroPassPauseMicroseconds;
        clock.WaitUntil(start);
    } while (!MacroStopped() && goOn());
}

}  // namespace

bool ServeMacroRequest(MacroSource& source, UINT message, LPARAM lParam) {
    if (message != kThreadMsgMacroRepeatUntilPressed && message != kThreadMsgMacroRepeatWhileHeld) return false;
    // Any program can post to a thread: a request for no button would repeat
    // nothing, perhaps for good, and hold up every later request.
    if (lParam < 0 || lParam >= kButtonCount) return false;
    const int button = static_cast<int>(lParam);
    // A request another program posted: nobody pressed for it, and no
    // release or press would end it.
    if (!TakeMacroRequest(message == kThreadMsgMacroRepeatWhileHeld, button)) return false;
    const MacroActivity playing;
    if (message == kThreadMsgMacroRepeatUntilPressed) {
        RepeatPasses(source, button, [] { return MacroRunFlag.load() != 0; });
    } else {
        RepeatPasses(source, button, [] { return MacroRunFlag.load() != 1; });
        MacroRunFlag.store(0);
    }
    return true;
}

namespace {
std::atomic<bool> g_workerEndAsked{false};
}  // namespace

void AllowMacroWorker() { g_workerEndAsked.store(false); }

void AskMacroWorkerToEnd() { g_workerEndAsked.store(true); }

int RunMacroWorker(MacroSource& source) {
    MSG msg{};
    // The thread's queue exists from this peek on: a quit posted later
    // reaches the loop, and one posted earlier failed, which the flag tells.
    Sys().Windows.PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    if (g_workerEndAsked.load()) {
        // Whatever reached the queue meanwhile (the quit, perhaps) goes with it.
        while (Sys().Windows.PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        return 0;
    }
    while (Sys().Windows.GetMessageW(&msg) > 0) ServeMacroRequest(source, msg.message, msg.lParam);
    return 0;
}
