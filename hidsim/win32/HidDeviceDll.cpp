// Our HidDevice.dll: one simulated mouse per process, created on first use,
// with its control channel (a named pipe served from a thread of its own).
// Environment, read once at creation:
//   HIDSIM_UNPLUGGED=1  the mouse starts unplugged
//   HIDSIM_LOG=<path>   every received report and plug event is appended there
//   HIDSIM_PIPE=<name>  the control pipe's name (default HidSimMouse)
//   HIDSIM_TIMINGS=1    each input report's production and delivery times are
//                       kept (performance counter, microseconds) for
//                       HidSim_InputTimings, the latency benchmark's source
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "hidsim/ControlCommands.h"
#include "hidsim/SimExports.h"
#include "hidsim/win32/ControlChannel.h"

namespace {

class Win32Notifier final : public SimNotifier {
public:
    void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        ::SendMessageW(window, message, wParam, lParam);
    }
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        ::PostMessageW(window, message, wParam, lParam);
    }
};

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

std::uint64_t MicrosecondsNow() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}

void ServeControlPipe(SimHidLibrary* library) {
    const std::wstring name = ControlPipeName();
    // One instance, reused: between two clients the pipe keeps existing.
    HANDLE pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 1 << 16, 4096,
                                   0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return;
    for (;;) {
        const BOOL connected = ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
        if (connected) {
            char request[4096];
            DWORD read = 0;
            if (ReadFile(pipe, request, sizeof request, &read, nullptr) || GetLastError() == ERROR_MORE_DATA) {
                const std::string answer = ExecuteControlCommand(*library, std::string(request, read));
                DWORD written = 0;
                WriteFile(pipe, answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr);
                FlushFileBuffers(pipe);
            }
        }
        DisconnectNamedPipe(pipe);
    }
}

SimHidLibrary* CreateLibrary() {
    // Lives until the process ends: never destroyed, its threads never joined.
    static Win32Notifier notifier;
    const bool plugged = Environment(L"HIDSIM_UNPLUGGED") != L"1";
    auto* library = new SimHidLibrary(notifier, [] { return static_cast<std::uint64_t>(GetTickCount64()); },
                                      plugged);
    if (Environment(L"HIDSIM_TIMINGS") == L"1") library->SetFineClock(MicrosecondsNow);
    const std::wstring logPath = Environment(L"HIDSIM_LOG");
    if (!logPath.empty()) {
        library->SetLogSink([logPath](const std::string& line) {
            if (FILE* file = _wfopen(logPath.c_str(), L"ab")) {
                std::fputs((line + "\n").c_str(), file);
                std::fclose(file);
            }
        });
    }
    std::thread(ServeControlPipe, library).detach();
    return library;
}

}  // namespace

SimHidLibrary* ActiveSimLibrary() {
    static std::once_flag once;
    static SimHidLibrary* library = nullptr;
    std::call_once(once, [] { library = CreateLibrary(); });
    return library;
}

// The kept input report times, oldest first: copies at most `capacity` of
// the latest and returns how many it copied.
extern "C" __declspec(dllexport) DWORD HidSim_InputTimings(SimInputTiming* timings, DWORD capacity) {
    if (timings == nullptr) return 0;
    const std::vector<SimInputTiming> kept = ActiveSimLibrary()->InputTimings();
    const std::size_t count = std::min<std::size_t>(kept.size(), capacity);
    std::copy(kept.end() - static_cast<long>(count), kept.end(), timings);
    return static_cast<DWORD>(count);
}

// A control request from within the process (the latency benchmark runs the
// service in its own process): as over the control pipe, without the pipe's
// round trip. Copies at most `capacity` - 1 bytes of the answer, ended by a
// zero, and returns the answer's whole length.
extern "C" __declspec(dllexport) DWORD HidSim_ControlRequest(const char* request, char* answer, DWORD capacity) {
    if (request == nullptr) return 0;
    const std::string reply = ExecuteControlCommand(*ActiveSimLibrary(), request);
    if (answer != nullptr && capacity > 0) {
        const std::size_t copied = std::min<std::size_t>(reply.size(), capacity - 1);
        std::copy(reply.begin(), reply.begin() + static_cast<long>(copied), answer);
        answer[copied] = '\0';
    }
    return static_cast<DWORD>(reply.size());
}
