// What one look at the foreground costs with the real system: the program's
// file name through the process image query and through the snapshot walk,
// and the whole check (foreground window, its process, the name, the
// decision). A window of this program is brought forward first, so the
// foreground belongs to a process that exists. Prints median and 90th
// percentile wall time and the mean processor time per check.
//   foreground_check_timing [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "app/ForegroundMatch.h"
#include "app/ForegroundProgram.h"
#include "platform/win32/Win32Platform.h"

namespace {

double Milliseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

double CpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

void Report(const char* name, int runs, const std::function<void()>& check) {
    for (int i = 0; i < 20; ++i) check();  // warm caches alike for every way
    std::vector<double> times;
    const double cpuBefore = CpuMilliseconds();
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        check();
        ::QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(end.QuadPart - start.QuadPart));
    }
    const double cpu = (CpuMilliseconds() - cpuBefore) / runs;
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %8.4f ms   p90 %8.4f ms   cpu %8.4f ms per check  (%d runs)\n", name,
                times[times.size() / 2], times[times.size() * 9 / 10], cpu, runs);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(10, _wtoi(argv[1])) : 500;
    Win32Platform platform;
    SetPlatform(&platform);

    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ForegroundCheckTiming";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Foreground check timing", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    0, 0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetForegroundWindow(window);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);

    HWND foreground = ::GetForegroundWindow();
    DWORD processId = 0;
    ::GetWindowThreadProcessId(foreground, &processId);
    const auto image = ProgramFileNameFromImage(processId);
    const auto walked = ProgramFileNameFromSnapshot(processId);
    std::printf("foreground process %lu: image query \"%ls\", snapshot \"%ls\"\n", processId,
                image ? reinterpret_cast<const wchar_t*>(image->c_str()) : L"(none)",
                walked ? reinterpret_cast<const wchar_t*>(walked->c_str()) : L"(none)");

    static ServiceSettings settings;
    std::memset(&settings, 0, sizeof settings);
    for (int k = 1; k <= 4; ++k) CopyTextToField(u"game" + TextFromInt(k) + u".exe", settings.Profiles[k].Launch, kLaunchLength);

    Report("name by process image query", runs, [&] { (void)ProgramFileNameFromImage(processId); });
    Report("name by snapshot walk", runs, [&] { (void)ProgramFileNameFromSnapshot(processId); });
    for (ProcessLookup lookup : {ProcessLookup::ImageThenSnapshot, ProcessLookup::SnapshotOnly}) {
        Report(lookup == ProcessLookup::ImageThenSnapshot ? "whole check, image query" : "whole check, snapshot walk",
               runs, [&] {
                   HWND hwnd = Sys().Windows.GetForegroundWindow();
                   const DWORD id = Sys().Windows.GetWindowProcessId(hwnd);
                   if (const auto name = ProgramFileName(id, lookup)) (void)ProfileSwitchForProgram(settings, *name);
               });
    }
    ::DestroyWindow(window);
    SetPlatform(nullptr);
    return 0;
}
