// The foreground watch on the host: what one look at the foreground costs
// (window, process, name, decision) through each way of finding the
// program's name, and a whole profile switch (settings file written, 0x4D5
// posted) by the foreground event and by timer 1. The platform is the fake,
// so the times are those of the service's own work; the virtual-time
// counters give the delay from the foreground change to the switch (the
// event's is 0, the timer's up to its 2 s period). Real-system costs under
// Wine: tests/wine/control/foreground_check_timing.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/ForegroundMatch.h"
#include "app/ForegroundProgram.h"
#include "contract/Messages.h"
#include "contract/Timers.h"
#include "app/MursohidDlg.h"
#include "contract/Names.h"
#include "config/DataFolder.h"
#include "config/SettingsFileAccess.h"
#include "config/IniFile.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/ProcessReset.h"

namespace {

constexpr DWORD kGameA = 5000;
constexpr DWORD kGameB = 5001;

// A desktop with 60 other programs, two games named in slots 1 and 2.
class Desktop {
public:
    Desktop() {
        ResetProcessState();
        SetPlatform(&fake);
        for (DWORD id = 100; id < 160; ++id) fake.kernel.AddProcess(id, u"C:\\Windows\\program" + TextFromInt(id) + u".exe");
        gameA = AddProgram(kGameA, u"C:\\Games\\alpha.exe");
        gameB = AddProgram(kGameB, u"C:\\Games\\beta.exe");
        config = fake.windows.AddForeignWindow(kConfigProgramTitle);
    }
    ~Desktop() {
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }
    HWND AddProgram(DWORD id, const Text& path) {
        fake.kernel.AddProcess(id, path);
        HWND hwnd = fake.windows.AddForeignWindow(path);
        fake.windows.SetWindowProcess(hwnd, id);
        return hwnd;
    }
    FakePlatform fake;
    HWND gameA = nullptr;
    HWND gameB = nullptr;
    HWND config = nullptr;
};

ServiceSettings NamedGames() {
    ServiceSettings s;
    std::memset(&s, 0, sizeof s);
    CopyTextToField(u"alpha.exe", s.Profiles[1].Launch, kLaunchLength);
    CopyTextToField(u"beta.exe", s.Profiles[2].Launch, kLaunchLength);
    return s;
}

void BM_ForegroundCheck(benchmark::State& state) {
    const auto lookup = static_cast<ProcessLookup>(state.range(0));
    Desktop desktop;
    desktop.fake.windows.SetForeground(desktop.gameB);
    const ServiceSettings settings = NamedGames();
    int switches = 0;
    for (auto _ : state) {
        HWND hwnd = Sys().Windows.GetForegroundWindow();
        const DWORD id = Sys().Windows.GetWindowProcessId(hwnd);
        if (const auto name = ProgramFileName(id, lookup)) switches += ProfileSwitchForProgram(settings, *name) == 2;
        state.PauseTiming();
        desktop.fake.ClearCalls();
        state.ResumeTiming();
    }
    if (switches != static_cast<int>(state.iterations())) state.SkipWithError("the check did not find the game");
}
BENCHMARK(BM_ForegroundCheck)
    ->Arg(static_cast<int>(ProcessLookup::ImageThenSnapshot))
    ->Arg(static_cast<int>(ProcessLookup::SnapshotOnly))
    ->ArgNames({"snapshot_only"})
    ->Unit(benchmark::kMicrosecond);

// The service's window; the games come forward in turn, each a switch.
void BM_ProfileSwitch(benchmark::State& state) {
    const bool byEvent = state.range(0) != 0;
    Desktop desktop;
    FakePlatform& fake = desktop.fake;
    auto* window = new CMursohidDlg;
    window->CreateServiceWindow();
    auto file = std::make_unique<PortableIniFile>(DataFolder() + u"config.ini");
    file->WriteString(u"GROUP1", u"Launch", u"alpha.exe");
    file->WriteString(u"GROUP2", u"Launch", u"beta.exe");
    fake.windows.SendMessageW(window->m_hWnd, kMsgReloadSettings, 0, 0);
    if (!byEvent) {
        // Without the hook only timer 1 sees the change.
        for (const auto& w : fake.windows.Windows())
            if (w.className == u"FakeWinEventTarget" && w.alive) fake.windows.UnhookWinEvent(reinterpret_cast<HANDLE>(w.hwnd));
    }
    std::uint64_t delay = 0;
    std::size_t posted = fake.windows.PostedTo(desktop.config).size();
    bool alpha = true;
    for (auto _ : state) {
        const std::uint64_t changed = fake.Now();
        fake.windows.SetForeground(alpha ? desktop.gameA : desktop.gameB);
        alpha = !alpha;
        if (byEvent)
            fake.windows.PumpMessages();
        else
            while (fake.windows.PostedTo(desktop.config).size() == posted) fake.windows.RunFor(50);
        state.PauseTiming();
        const auto now = fake.windows.PostedTo(desktop.config);
        if (now.size() != posted + 1 || now.back().message != kNotifyProfileOrMacroButton) {
            state.SkipWithError("no switch");
            break;
        }
        delay += now.back().time - changed;
        posted = now.size();
        fake.ClearCalls();
        fake.AdvanceClock(730);  // the next change comes at another phase of the timer
        state.ResumeTiming();
    }
    state.counters["virtual_ms_to_switch"] = static_cast<double>(delay) / static_cast<double>(state.iterations());
    window->DestroyWindow();
    delete window;
}
BENCHMARK(BM_ProfileSwitch)->Arg(1)->Arg(0)->ArgNames({"by_event"})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
