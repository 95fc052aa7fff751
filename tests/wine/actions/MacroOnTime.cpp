// How on time the macro player is under Wine (a benchmark, run by hand, not
// asserted):
//
//   macro_on_time.exe [EVENTS] [BUSY]
//
// plays EVENTS (1,040 by default: 13 passes of an 80-event macro) key events
// with mixed delays of 0, 20 and 100 ms through the service's own player, on
// the real platform, with BUSY processes (0 by default) spinning beside it.
// Each event is stamped twice: by the player's clock when it makes the
// injection call, and by the input recorder (a low-level hook in a process of
// its own) when the system delivers it. Both are microseconds of the
// performance counter, so they compare across processes. Reported: each
// event's lateness after its due time (bench/MacroRhythm.h) on both sides,
// the call-to-delivery time, and every gap that came out more than 1 ms
// shorter than recorded.
//
// Needs MOUSEHID_INSTALL_DIR (the installed product with the test support:
// the recorder), as the end-to-end tests do.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "actions/MacroPlayer.h"
#include "bench/MacroRhythm.h"
#include "bench/MixedMacro.h"
#include "platform/win32/Win32Platform.h"
#include "tests/wine/actions/ActionsRig.h"
#include "tests/wine/actions/StampedInput.h"

namespace {

constexpr int kButton = 3;
constexpr int kEventsPerPass = static_cast<int>(kMaxMacroEvents);

class FixedMacro final : public MacroSource {
public:
    MacroData ActiveMacroData(int) override { return MacroWithDelaySteps(MixedDelaySteps()); }
};

struct Play {
    FixedMacro source;
    int passes = 0;
};

// The player runs on a thread of its own at normal priority, as the
// service's input thread and macro worker do.
DWORD WINAPI PlayPasses(void* parameter) {
    auto* play = static_cast<Play*>(parameter);
    PlayMacroPasses(play->source, kButton, play->passes);
    return 0;
}

void PrintSide(const char* side, const std::vector<std::int64_t>& late, const std::vector<std::int64_t>& gapShort) {
    const TimingStats l = Percentiles(late);
    const TimingStats g = Percentiles(gapShort);
    std::printf("  %-28s late p50=%.0f p99=%.0f max=%.0f us; gaps shorter than recorded by more than 1 ms: %zu of "
                "%zu (shortest: %.0f us short)\n",
                side, l.p50, l.p99, l.max, CountAbove(gapShort, 1000), gapShort.size(), g.max);
}

int Spin() {
    for (volatile unsigned long long n = 0;; ++n) {
    }
}

int Measure(int events, int busy) {
    std::vector<e2e::Process> spinners;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (int i = 0; i < busy; ++i) spinners.push_back(e2e::Start(self, L"spin"));

    e2e::ActionsRig rig;
    if (!rig.StartRecorder()) {
        std::fputs("the recorder did not start\n", stderr);
        return 1;
    }
    Win32Platform win;
    StampedInput input(win.Clock);
    const Platform platform{win.Kernel, win.Windows, win.Files, win.Shell, input, win.Clock, win.Graphics};
    SetPlatform(&platform);

    Play play;
    play.passes = (events + kEventsPerPass - 1) / kEventsPerPass;
    const std::size_t count = static_cast<std::size_t>(play.passes * kEventsPerPass);
    HANDLE thread = CreateThread(nullptr, 0, PlayPasses, &play, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    for (e2e::Process& spinner : spinners) spinner.Kill();

    const bool allDelivered = rig.Recorder().WaitForInjected(count, 10000);
    const auto delivered = rig.Recorder().Injected();
    const auto calls = input.Calls();
    SetPlatform(nullptr);
    if (calls.size() != count) {
        std::fprintf(stderr, "the player made %zu calls of %zu\n", calls.size(), count);
        return 1;
    }
    std::vector<MacroEventTimes> times;
    for (std::size_t i = 0; i < count; ++i) {
        MacroEventTimes event;
        event.delayAfter = static_cast<std::int64_t>(MixedDelayStep(i % kEventsPerPass) *
                                                     kMacroDelayUnitMicroseconds);
        event.callMade = calls[i].made;
        event.callEnded = calls[i].ended;
        if (allDelivered) event.delivered = static_cast<std::int64_t>(delivered[i].t);
        times.push_back(event);
    }
    const MacroRhythm rhythm =
        MeasureMacroRhythm(times, static_cast<std::int64_t>(kMacroLatenessToleranceMicroseconds));
    std::printf("macro on time under Wine: %zu events, delays of 0, 20 and 100 ms, %d busy processes beside it\n",
                count, busy);
    PrintSide("at the call (player's clock)", rhythm.lateAtCall, rhythm.gapShortAtCall);
    if (!allDelivered) {
        std::printf("  the recorder saw %zu of the events: no delivery figures\n", delivered.size());
        return 1;
    }
    PrintSide("delivered (input recorder)", rhythm.lateDelivered, rhythm.gapShortDelivered);
    // The latest events at the call, with the delay before each and how long
    // the injection before it took: where the time went.
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return rhythm.lateAtCall[a] > rhythm.lateAtCall[b]; });
    std::printf("  latest at the call:");
    for (std::size_t k = 0; k < 5 && k < count; ++k) {
        const std::size_t i = order[k];
        const std::int64_t before = i > 0 ? times[i - 1].delayAfter / 1000 : 0;
        const std::int64_t previousCall = i > 0 ? times[i - 1].callEnded - times[i - 1].callMade : 0;
        std::printf(" #%zu %lld us (after %lld ms, previous call %lld us);", i,
                    static_cast<long long>(rhythm.lateAtCall[i]), static_cast<long long>(before),
                    static_cast<long long>(previousCall));
    }
    std::printf("\n");
    const TimingStats d = Percentiles(rhythm.callToDelivered);
    std::printf("  call made to delivered: p50=%.0f p99=%.0f max=%.0f us\n", d.p50, d.p99, d.max);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"spin") == 0) return Spin();
    const int events = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 1040;
    const int busy = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 0;
    if (events < 2 || busy < 0 || busy > 16) {
        std::fputs("usage: macro_on_time [EVENTS] [BUSY]\n", stderr);
        return 2;
    }
    if (e2e::InstallFolder().empty()) {
        std::fputs("MOUSEHID_INSTALL_DIR is not set\n", stderr);
        return 2;
    }
    return Measure(events, busy);
}
