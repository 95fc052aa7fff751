// Time from a button report to the first injected event, in process on the
// host: the report goes in where the library's input callback hands it to
// the main window, and runs the real path (decoding, routing, the
// dispatcher's ReloadActiveProfile on a full 40 KB settings file, the
// lookup) up to the mouse_event call. p50 and p99 of press and release;
// goal: p99 under 1 ms. The figures across processes under Wine (control
// pipe to the input recorder) come from button_latency.exe (tests/wine/actions).
#include <benchmark/benchmark.h>

#include <chrono>

#include "app/MursohidDlg.h"
#include "bench/TimingStats.h"
#include "config/DataFolder.h"
#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/ProcessReset.h"
#include "tests/support/SettingsSamples.h"

namespace {

constexpr int kButton = 2;
constexpr int kSamples = 2000;

std::int64_t NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<std::uint8_t> ButtonReport(bool pressed) {
    return {0x00, 0x07, 0x42, 0x00, static_cast<std::uint8_t>(kButton), static_cast<std::uint8_t>(pressed ? 1 : 0),
            0x00, 0x00, 0x00};
}

void BM_ButtonReportToFirstInjectedEvent(benchmark::State& state) {
    ResetProcessState();
    FakePlatform fake;
    SetPlatform(&fake);
    {
        SimulatedMouse mouse{fake};
        auto* window = new CMursohidDlg;
        window->CreateServiceWindow();
        // The full settings file, with the button on the left mouse button.
        ServiceSettings full = samples::FullSettings();
        full.Profiles[full.Profile].Buttons[kButton].ButtonFunc = 1;
        PortableIniFile file(DataFolder() + u"config.ini");
        WriteAllSettings(file, full);
        WriteProfileSlot(file, 0, full.Profiles[0]);
        window->Settings().ReloadSettings();
        fake.input.SetClock([] { return static_cast<std::uint64_t>(NowNanoseconds()); });

        std::vector<std::int64_t> press;
        std::vector<std::int64_t> release;
        const auto pressReport = ButtonReport(true);
        const auto releaseReport = ButtonReport(false);
        const auto measure = [&](const std::vector<std::uint8_t>& report, std::vector<std::int64_t>& into) {
            fake.input.Clear();
            const std::int64_t sent = NowNanoseconds();
            window->HandleInputReport(kSimCommandDeviceId, report.data(), static_cast<DWORD>(report.size()));
            const auto events = fake.input.Events();
            if (!events.empty()) into.push_back((static_cast<std::int64_t>(events.front().time) - sent) / 1000);
        };
        for (auto _ : state) {
            for (int i = 0; i < kSamples; ++i) {
                measure(pressReport, press);
                measure(releaseReport, release);
                state.PauseTiming();
                if (i % 200 == 0) fake.ClearCalls();
                state.ResumeTiming();
            }
        }
        const TimingStats pressStats = Percentiles(press);
        const TimingStats releaseStats = Percentiles(release);
        state.counters["press_p50_us"] = pressStats.p50;
        state.counters["press_p99_us"] = pressStats.p99;
        state.counters["release_p50_us"] = releaseStats.p50;
        state.counters["release_p99_us"] = releaseStats.p99;
        state.counters["samples"] = static_cast<double>(press.size() + release.size());
        window->DestroyWindow();
        delete window;
        fake.kernel.StopThreads();
    }
    SetPlatform(nullptr);
}
BENCHMARK(BM_ButtonReportToFirstInjectedEvent)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
