#include "actions/MacroPlayer.h"

#include <cstring>

#include "actions/HeldInput.h"
#include "actions/InputConventions.h"
#include "actions/VirtualKeys.h"
#include "platform/Platform.h"

std::atomic<int> MacroRunFlag{0};

namespace {

MacroEvent EventAt(const MacroData& data, std::size_t index) {
    MacroEvent event;
    std::memcpy(event.Bytes, data.data() + index * kMacroEventSize, kMacroEventSize);
    return event;
}

void SendMacroEvent(const MacroEvent& event) {
    const bool press = event.IsPress();
    switch (event.Key()) {
        case kMacroKeyLeftButton:
            SendMouseEvent(press ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
            return;
        case kMacroKeyRightButton:
            SendMouseEvent(press ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
            return;
        case kMacroKeyMiddleButton:
            SendMouseEvent(press ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP);
            return;
        default: {
            int virtualKey = 0;
            UsageToVirtualKey(event.Key(), virtualKey);
            SendKeyEvent(virtualKey, !press);
            return;
        }
    }
}

}  // namespace

std::size_t CountMacroEvents(const MacroData& data) {
    std::size_t count = 0;
    while (count < kMaxMacroEvents && EventAt(data, count).Key() != 0) ++count;
    return count;
}

std::uint64_t PlayMacroEvents(const MacroData& data, std::uint64_t start) {
    PreciseClock& clock = Sys().Clock;
    const std::size_t count = CountMacroEvents(data);
    std::uint64_t due = start;
    for (std::size_t i = 0; i < count; ++i) {
        // A stop ends the macro after the event in progress.
        if (MacroStopped()) break;
        const MacroEvent event = EventAt(data, i);
        SendMacroEvent(event);
        KeepMacroThreadOnTime();
        // Events that fell due during a stall are not sent back to back: when
        // this one went out late (a stall before it, or an injection that
        // itself took long), the rest of the pass keeps its rhythm from here.
        const std::uint64_t now = clock.NowMicroseconds();
        if (now > due + kMacroLatenessToleranceMicroseconds) due = now;
        due += event.Delay() * kMacroDelayUnitMicroseconds;
        clock.WaitUntil(due);
    }
    return due;
}

std::uint64_t PlayMacroPassFrom(MacroSource& source, int button, std::uint64_t start) {
    if (!IsButtonIndex(button)) return start;
    const MacroData data = source.ActiveMacroData(button);
    return PlayMacroEvents(data, start);
}

bool PlayMacro(MacroSource& source, int button) {
    if (!IsButtonIndex(button)) return false;
    const MacroActivity playing;
    PlayMacroPassFrom(source, button, Sys().Clock.NowMicroseconds());
    return true;
}

void PlayMacroPasses(MacroSource& source, int button, int passes) {
    if (!IsButtonIndex(button)) return;
    const MacroActivity playing;
    std::uint64_t start = Sys().Clock.NowMicroseconds();
    for (int pass = 0; pass < passes && !MacroStopped(); ++pass)
        start = PlayMacroPassFrom(source, button, start);
}
