// Whole-process timings of the action engine under Wine, through the input
// recorder in a process of its own (benchmarks: run by hand, not asserted):
//
//   action_timing.exe macro [RUNS]     an 80-event macro with 20 ms steps and
//                                      one with mixed delays, played once per
//                                      run: each event's offset from its due
//                                      time (the first event's time plus the
//                                      delays before it), p50/p99/max, and
//                                      the last event's drift
//   action_timing.exe latency [PRESSES] a button report sent through the
//                                      mouse's control pipe to the first
//                                      injected event the recorder sees,
//                                      p50/p99 of presses
//
// Needs MOUSEHID_INSTALL_DIR (the installed product with the test support),
// as the end-to-end tests do; all times in microseconds of the performance
// counter, comparable between processes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/wine/actions/ActionsRig.h"

namespace {

using namespace e2e;

constexpr std::uint8_t kUsageA = 0x04;
constexpr long long kDelayUnitUs = 20000;

struct Stats {
    long long p50 = 0, p99 = 0, max = 0;
};

Stats Percentiles(std::vector<long long> samples) {
    Stats stats;
    if (samples.empty()) return stats;
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double fraction) {
        std::size_t i = static_cast<std::size_t>(fraction * static_cast<double>(samples.size()));
        return samples[std::min(i, samples.size() - 1)];
    };
    stats.p50 = at(0.50);
    stats.p99 = at(0.99);
    stats.max = samples.back();
    return stats;
}

std::vector<int> EvenDelays() { return std::vector<int>(80, 1); }
std::vector<int> MixedDelays() {
    const int pattern[] = {1, 0, 3, 1, 2, 0, 5, 1, 0, 2};
    std::vector<int> delays;
    for (int i = 0; i < 80; ++i) delays.push_back(pattern[i % 10]);
    return delays;
}

std::vector<std::uint8_t> Macro(const std::vector<int>& delays) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < delays.size(); ++i) {
        const auto e = MacroEvent(i % 2 == 0, delays[i], kUsageA);
        bytes.insert(bytes.end(), e.begin(), e.end());
    }
    return bytes;
}

int MacroTimings(int runs) {
    const std::vector<std::vector<int>> macros = {EvenDelays(), MixedDelays()};
    const char* names[] = {"80 events, 20 ms steps", "80 events, mixed delays"};
    ActionsRig rig;
    rig.Assign({{3, 73, 0, 0, Macro(macros[0])}, {4, 73, 0, 0, Macro(macros[1])}});
    if (!rig.Start()) {
        std::fputs("the service or the recorder did not start\n", stderr);
        return 1;
    }
    for (std::size_t m = 0; m < macros.size(); ++m) {
        std::vector<long long> offsets;
        std::vector<long long> drifts;
        for (int run = 0; run < runs; ++run) {
            const std::size_t before = rig.Recorder().Injected().size();
            rig.Press(static_cast<int>(m) + 3);
            rig.Release(static_cast<int>(m) + 3);
            if (!rig.Recorder().WaitForInjected(before + 80, 20000)) {
                std::fputs("the macro's events did not all come\n", stderr);
                return 1;
            }
            const auto all = rig.Recorder().Injected();
            const std::vector<RecordedInput> events(all.begin() + static_cast<long>(before),
                                                    all.begin() + static_cast<long>(before) + 80);
            long long due = 0;
            for (std::size_t i = 0; i < events.size(); ++i) {
                const long long offset = static_cast<long long>(events[i].t - events[0].t) - due;
                offsets.push_back(offset);
                if (i + 1 == events.size()) drifts.push_back(offset);
                due += macros[m][i] * kDelayUnitUs;
            }
        }
        const Stats s = Percentiles(offsets);
        const Stats d = Percentiles(drifts);
        std::printf("macro %-26s runs=%d events=%zu offset p50=%lld p99=%lld max=%lld us; last event drift "
                    "p50=%lld max=%lld us\n",
                    names[m], runs, offsets.size(), s.p50, s.p99, s.max, d.p50, d.max);
    }
    return rig.CloseService() ? 0 : 1;
}

int Latency(int presses) {
    ActionsRig rig;
    rig.Assign({{2, 72, 0, kUsageA}});
    if (!rig.Start()) {
        std::fputs("the service or the recorder did not start\n", stderr);
        return 1;
    }
    // The pipe alone: a request the mouse answers without a report.
    std::vector<long long> pipe;
    for (int i = 0; i < presses; ++i) {
        const unsigned long long sent = MicrosecondsNow();
        rig.Control("status");
        pipe.push_back(static_cast<long long>(MicrosecondsNow() - sent));
        Sleep(30);  // the pipe's server is ready for the next client
    }
    std::vector<long long> samples;
    for (int i = 0; i < presses; ++i) {
        const std::size_t before = rig.Recorder().Injected().size();
        const unsigned long long sent = MicrosecondsNow();
        rig.Press(2);
        if (!rig.Recorder().WaitForInjected(before + 2, 5000)) break;
        samples.push_back(static_cast<long long>(rig.Recorder().Injected()[before].t - sent));
        Sleep(30);
        rig.Release(2);
        Sleep(30);
    }
    const Stats p = Percentiles(pipe);
    std::printf("control pipe round trip alone: requests=%zu p50=%lld p99=%lld max=%lld us\n", pipe.size(), p.p50,
                p.p99, p.max);
    const Stats s = Percentiles(samples);
    std::printf("button report (control pipe) to first injected event: presses=%zu p50=%lld p99=%lld max=%lld us\n",
                samples.size(), s.p50, s.p99, s.max);
    return rig.CloseService() ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const int count = argc > 2 ? std::max(1, static_cast<int>(std::wcstol(argv[2], nullptr, 10))) : 0;
    if (InstallFolder().empty()) {
        std::fputs("MOUSEHID_INSTALL_DIR is not set\n", stderr);
        return 2;
    }
    if (mode == L"macro") return MacroTimings(count > 0 ? count : 5);
    if (mode == L"latency") return Latency(count > 0 ? count : 300);
    std::fputs("usage: action_timing macro [RUNS] | latency [PRESSES]\n", stderr);
    return 2;
}
