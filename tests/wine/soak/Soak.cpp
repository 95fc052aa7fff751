// The service under a long, mixed load through the simulated mouse: button
// events of every kind of function, unplug and plug cycles, full writes,
// read-backs and configuration messages at random. Its handles, GDI and USER
// objects, threads and private bytes are sampled at even steps and their
// growth per 10,000 events is reported (least squares over the samples).
//
//   soak.exe [EVENTS]    100000 by hand; the test command runs a small size
//
// Wine 8 reports no handle count and no GDI or USER objects for another
// process (zeros): there the threads and private bytes tell.
//
// Exit code 0 when the service still answers at the end and nothing grew
// past a leak's size (handles +64, GDI and USER objects +32, threads +4,
// private bytes +32 MB over the run); 1 otherwise, 2 when it could not start.
// Needs MOUSEHID_INSTALL_DIR, as the end-to-end tests do.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "tests/wine/actions/ActionsRig.h"

namespace {

using namespace e2e;

struct Sample {
    double events, handles, gdi, user, threads, privateMb;
};

DWORD ThreadCount(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == pid;
    CloseHandle(snapshot);
    return count;
}

Sample Measure(HANDLE process, DWORD pid, long events) {
    Sample s{};
    s.events = static_cast<double>(events);
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    s.handles = handles;
    s.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    s.user = GetGuiResources(process, GR_USEROBJECTS);
    s.threads = ThreadCount(pid);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        // Wine leaves PrivateUsage at 0; the commit charge is the same figure.
        const SIZE_T privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
        s.privateMb = static_cast<double>(privateBytes) / (1024.0 * 1024.0);
    }
    return s;
}

// Least-squares slope of `value` over events, per 10,000 events.
template <typename Field>
double Slope(const std::vector<Sample>& samples, Field field) {
    const double n = static_cast<double>(samples.size());
    if (n < 2) return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Sample& s : samples) {
        sx += s.events;
        sy += s.*field;
        sxx += s.events * s.events;
        sxy += s.events * (s.*field);
    }
    const double d = n * sxx - sx * sx;
    return d == 0 ? 0 : (n * sxy - sx * sy) / d * 10000.0;
}

std::vector<std::uint8_t> ShortMacro() {
    std::vector<std::uint8_t> macro = MacroEvent(true, 0, 0x04);
    const auto up = MacroEvent(false, 0, 0x04);
    macro.insert(macro.end(), up.begin(), up.end());
    return macro;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const long events = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
    if (events <= 0 || InstallFolder().empty()) {
        std::fprintf(stderr, "usage: soak.exe [EVENTS], with MOUSEHID_INSTALL_DIR set\n");
        return 2;
    }
    ActionsRig rig;
    // Buttons 0 to 7: mouse button, key tap, media key, wheel, play once,
    // volume repeat, while-held macro, resolution stage up.
    rig.Assign({{0, 3}, {1, 72, 0, 0x04}, {2, 24}, {3, 9}, {4, 73, 0, 0, ShortMacro()}, {5, 25},
                {6, 44, 65535, 0, ShortMacro()}, {7, 7}});
    if (!rig.Start()) return 2;
    const HWND window = rig.Service().window;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) return 2;

    std::mt19937 random(20261211);
    const UINT controls[] = {kMsgSetPollingRate, kMsgWriteStages, kMsgSetStateByte, kMsgReadStage,
                             kMsgSetLiftOff,     kMsgSetLogoLight, kMsgReloadSettings};
    const long step = std::max(1L, events / 10);
    std::vector<Sample> samples{Measure(process, pid, 0)};
    long done = 0, cycles = 0, writes = 0, readBacks = 0, controlsSent = 0;
    const DWORD started = GetTickCount();
    while (done < events) {
        const int button = static_cast<int>(random() % 8);
        rig.Press(button);
        rig.Release(button);
        done += 2;
        if (done % 100 == 0) {
            rig.Control("unplug");
            rig.Control("plug");
            ++cycles;
        }
        if (done % 500 == 0) {
            PostMessageW(window, kMsgFullWrite, 0, 0);
            ++writes;
        }
        if (done % 500 == 250) {
            PostMessageW(window, WM_TIMER, kReadBackStep1TimerId, 0);
            ++readBacks;
        }
        if (done % 50 == 0) {
            PostMessageW(window, controls[random() % (sizeof controls / sizeof controls[0])], random() % 6, 0);
            ++controlsSent;
        }
        if (done % step == 0) {
            rig.Answers(60000);  // let the queue drain before measuring
            samples.push_back(Measure(process, pid, done));
            const Sample& s = samples.back();
            std::printf("at %ld events (%.0f s): handles %.0f, gdi %.0f, user %.0f, threads %.0f, private MB %.2f\n",
                        done, (GetTickCount() - started) / 1000.0, s.handles, s.gdi, s.user, s.threads, s.privateMb);
            std::fflush(stdout);
        }
    }
    const bool answers = rig.Answers(60000);
    const double seconds = (GetTickCount() - started) / 1000.0;
    std::printf("%ld button events, %ld unplug/plug cycles, %ld full writes, %ld read-backs, %ld control "
                "messages in %.0f s; the service %s\n",
                done, cycles, writes, readBacks, controlsSent, seconds, answers ? "answers" : "does NOT answer");
    std::printf("%10s %8s %6s %6s %8s %12s\n", "events", "handles", "gdi", "user", "threads", "private MB");
    for (const Sample& s : samples)
        std::printf("%10.0f %8.0f %6.0f %6.0f %8.0f %12.2f\n", s.events, s.handles, s.gdi, s.user, s.threads,
                    s.privateMb);
    std::printf("slope per 10,000 events: handles %+.2f, gdi %+.2f, user %+.2f, threads %+.2f, private MB %+.3f\n",
                Slope(samples, &Sample::handles), Slope(samples, &Sample::gdi), Slope(samples, &Sample::user),
                Slope(samples, &Sample::threads), Slope(samples, &Sample::privateMb));
    const Sample& first = samples[1 < samples.size() ? 1 : 0];  // after the first step: warmed up
    const Sample& last = samples.back();
    const bool flat = last.handles - first.handles <= 64 && last.gdi - first.gdi <= 32 &&
                      last.user - first.user <= 32 && last.threads - first.threads <= 4 &&
                      last.privateMb - first.privateMb <= 32;
    if (!flat) std::printf("something grew past a leak's size\n");
    // Full writes still queued go first (7 s each with macros): the close
    // comes once the mouse has heard nothing new for 10 s (at most 5 min).
    std::size_t heard = LogLines(rig.MouseLog()).size();
    for (int quiet = 0, waited = 0; quiet < 10 && waited < 300; ++waited) {
        Sleep(1000);
        const std::size_t now = LogLines(rig.MouseLog()).size();
        quiet = now == heard ? quiet + 1 : 0;
        heard = now;
    }
    CloseHandle(process);
    const bool closed = rig.CloseService();
    if (!closed) std::printf("the service did not shut down cleanly\n");
    return answers && flat && closed ? 0 : 1;
}
