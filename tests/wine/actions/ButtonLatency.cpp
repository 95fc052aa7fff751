// Where the time of a button press goes under Wine (a benchmark, run by
// hand, not asserted):
//
//   button_latency.exe [PRESSES]
//
// presses (300 by default) each of three buttons: one on the right mouse
// button, one on a key, one on a macro. Each press is stamped four times, all
// in microseconds of the performance counter:
//   produced   the simulated mouse queues the report (HIDSIM_TIMINGS=1),
//   delivered  the library hands it to the service's input callback,
//   injected   the service makes its first injection call for it,
//   seen       the input recorder's low-level hook gets that event,
// and each step is reported at p50/p99/max per kind.
//
// The service runs inside this program, as mousehid.exe runs it, with the
// real platform except that injection calls are stamped (StampedInput.h):
// the program copies itself into a fresh installation copy, so the service
// finds its library and files beside it, and runs from there with the
// argument "service". Needs MOUSEHID_INSTALL_DIR, as the end-to-end tests do.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/MursohidApp.h"
#include "bench/TimingStats.h"
#include "hidsim/SimHidLibrary.h"
#include "platform/win32/Win32Platform.h"
#include "tests/wine/actions/ActionsRig.h"
#include "tests/wine/actions/StampedInput.h"

namespace {

using namespace e2e;

constexpr std::uint8_t kUsageA = 0x04;
constexpr std::uint8_t kUsageB = 0x05;
constexpr wchar_t kStampsFile[] = L"latency-stamps.txt";

struct Kind {
    const char* name;
    int button;
};
constexpr Kind kKinds[] = {{"mouse button", 2}, {"key", 3}, {"first macro event", 4}};

std::vector<Assignment> Assignments() {
    std::vector<std::uint8_t> macro = e2e::MacroEvent(true, 0, kUsageB);
    const auto release = e2e::MacroEvent(false, 0, kUsageB);
    macro.insert(macro.end(), release.begin(), release.end());
    return {{2, 3}, {3, 72, 0, kUsageA}, {4, 73, 0, 0, macro}};
}

// One press as the service side saw it.
struct PressStamps {
    int kind = 0;
    std::uint64_t produced = 0;
    std::uint64_t delivered = 0;
    std::size_t call = 0;  // index of its first injection call
    std::int64_t injected = 0;
};

using InputTimingsFunction = DWORD (*)(SimInputTiming* timings, DWORD capacity);

// Waits until no injection call has come for 30 ms.
void Settle(StampedInput& input) {
    for (std::size_t seen = input.CallCount();;) {
        Sleep(30);
        const std::size_t now = input.CallCount();
        if (now == seen) return;
        seen = now;
    }
}

// Waits until the injection calls have grown past `before` and then stayed
// the same for 30 ms; false when none came within 3 s.
bool WaitForInjection(StampedInput& input, std::size_t before) {
    const DWORD start = GetTickCount();
    while (input.CallCount() == before) {
        if (GetTickCount() - start > 3000) return false;
        Sleep(1);
    }
    Settle(input);
    return true;
}

using ControlRequestFunction = DWORD (*)(const char* request, char* answer, DWORD capacity);

// A request to the simulated mouse of this process, straight to the library.
bool Control(const std::string& request) {
    static const auto call = reinterpret_cast<ControlRequestFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"HidDevice.dll"), "HidSim_ControlRequest")));
    char answer[64] = {};
    return call != nullptr && call(request.c_str(), answer, sizeof answer) > 0 && std::string(answer).compare(0, 2, "ok") == 0;
}

struct ServiceRun {
    StampedInput* input = nullptr;
    int presses = 0;
    std::vector<PressStamps> stamps;
    bool complete = false;
};

// Presses each button in turn once the service's window is there, then
// closes the service.
void PressButtons(ServiceRun& run) {
    const HWND window = WaitForWindow(kServiceTitle, 20000);
    Sleep(500);  // the start-up's own reports and writes settle
    const auto timings = reinterpret_cast<InputTimingsFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"HidDevice.dll"), "HidSim_InputTimings")));
    run.complete = window != nullptr && timings != nullptr;
    for (int kind = 0; run.complete && kind < 3; ++kind) {
        const std::string button = std::to_string(kKinds[kind].button);
        std::fprintf(stderr, "pressing the %s button %d times\n", kKinds[kind].name, run.presses);
        for (int i = 0; i < run.presses && run.complete; ++i) {
            const std::size_t before = run.input->CallCount();
            if (!Control("press " + button) || !WaitForInjection(*run.input, before)) {
                std::fprintf(stderr, "press %d of the %s button: no injection\n", i + 1, kKinds[kind].name);
                run.complete = false;
                break;
            }
            SimInputTiming latest{};
            if (timings(&latest, 1) != 1 || latest.produced == 0) {
                std::fprintf(stderr, "press %d of the %s button: no report times\n", i + 1, kKinds[kind].name);
                run.complete = false;
                break;
            }
            PressStamps press;
            press.kind = kind;
            press.produced = latest.produced;
            press.delivered = latest.delivered;
            press.call = before;
            press.injected = run.input->Calls()[before].made;
            run.stamps.push_back(press);
            Control("release " + button);
            Settle(*run.input);
        }
    }
    if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
}

// The service in this process, from the installation copy it was copied to.
int RunService(int presses) {
    static Win32Platform win;
    static StampedInput input(win.Clock);
    static const Platform platform{win.Kernel, win.Windows, win.Files, win.Shell, input, win.Clock, win.Graphics};
    SetPlatform(&platform);
    static CMursohidApp app;
    ServiceRun run;
    run.input = &input;
    run.presses = presses;
    std::thread presser(PressButtons, std::ref(run));
    const int exitCode = AfxWinMain();
    presser.join();
    if (!run.complete) return 3;
    std::ostringstream out;
    out << input.CallCount() << '\n';  // every injection call, for matching the recorder's events
    for (const PressStamps& press : run.stamps)
        out << press.kind << ' ' << press.produced << ' ' << press.delivered << ' ' << press.call << ' '
            << press.injected << '\n';
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder.resize(folder.find_last_of(L'\\'));
    WriteFile(folder + L"\\" + kStampsFile, out.str());
    return exitCode;
}

void PrintStep(const char* step, std::vector<std::int64_t> samples) {
    const TimingStats s = Percentiles(std::move(samples));
    std::printf("    %-26s p50=%6.0f p99=%6.0f max=%6.0f us\n", step, s.p50, s.p99, s.max);
}

int Measure(int presses) {
    ActionsRig rig;
    rig.Assign(Assignments());
    if (!rig.StartRecorder()) {
        std::fputs("the recorder did not start\n", stderr);
        return 1;
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = rig.Folder() + L"\\button_latency.exe";
    if (!CopyFileW(self, copy.c_str(), FALSE)) {
        std::fputs("could not copy the benchmark into the installation copy\n", stderr);
        return 1;
    }
    SetEnvironmentVariableW(L"HIDSIM_TIMINGS", L"1");
    Process service = Start(copy, L"service " + std::to_wstring(presses));
    DWORD exitCode = 1;
    if (!service.Wait(static_cast<DWORD>(60000 + presses * 3 * 1000), &exitCode) || exitCode != 0) {
        std::fprintf(stderr, "the service run failed (exit %lu)\n", exitCode);
        service.Kill();
        return 1;
    }
    const std::vector<RecordedInput> seen = rig.Recorder().WaitUntilQuiet(300, 5000);
    std::istringstream in(ReadFile(rig.Folder() + L"\\" + kStampsFile));
    std::vector<std::int64_t> steps[3][4];
    std::size_t calls = 0;
    in >> calls;
    if (calls != seen.size()) {
        std::fprintf(stderr, "the service made %zu injection calls and the recorder saw %zu events\n", calls,
                     seen.size());
        return 1;
    }
    std::string line;
    std::size_t counted = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        PressStamps press;
        fields >> press.kind >> press.produced >> press.delivered >> press.call >> press.injected;
        if (!fields || press.kind < 0 || press.kind > 2 || press.call >= seen.size()) continue;
        auto& kind = steps[press.kind];
        const auto produced = static_cast<std::int64_t>(press.produced);
        const auto delivered = static_cast<std::int64_t>(press.delivered);
        const auto recorded = static_cast<std::int64_t>(seen[press.call].t);
        kind[0].push_back(delivered - produced);
        kind[1].push_back(press.injected - delivered);
        kind[2].push_back(recorded - press.injected);
        kind[3].push_back(recorded - produced);
        ++counted;
    }
    std::printf("button latency under Wine: %d presses of each kind, %zu measured\n", presses, counted);
    for (int k = 0; k < 3; ++k) {
        std::printf("  %s (button %d):\n", kKinds[k].name, kKinds[k].button);
        PrintStep("produced -> delivered", steps[k][0]);
        PrintStep("delivered -> injected", steps[k][1]);
        PrintStep("injected -> seen", steps[k][2]);
        PrintStep("produced -> seen", steps[k][3]);
    }
    return counted == static_cast<std::size_t>(presses) * 3 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool service = argc > 1 && std::wcscmp(argv[1], L"service") == 0;
    const wchar_t* count = service ? (argc > 2 ? argv[2] : L"") : (argc > 1 ? argv[1] : L"");
    const long presses = *count != 0 ? std::wcstol(count, nullptr, 10) : 300;
    if (presses < 1 || presses > 100000) {
        std::fputs("usage: button_latency [PRESSES]\n", stderr);
        return 2;
    }
    if (service) return RunService(static_cast<int>(presses));
    if (InstallFolder().empty()) {
        std::fputs("MOUSEHID_INSTALL_DIR is not set\n", stderr);
        return 2;
    }
    return Measure(static_cast<int>(presses));
}
