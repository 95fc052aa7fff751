#include "actions/MacroWorker.h"

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

int RunMacroWorker(MacroSource& source) {
    MSG msg{};
    while (Sys().Windows.GetMessageW(&msg) > 0) ServeMacroRequest(source, msg.message, msg.lParam);
    return 0;
}
