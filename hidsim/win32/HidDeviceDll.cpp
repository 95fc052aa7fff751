// Our HidDevice.dll: one simulated mouse per process, created on first use,
// with its control channel (a named pipe served from a thread of its own).
// Environment, read once at creation:
//   HIDSIM_UNPLUGGED=1  the mouse starts unplugged
//   HIDSIM_LOG=<path>   every received report and plug event is appended there
//   HIDSIM_PIPE=<name>  the control pipe's name (default HidSimMouse)
#include <windows.h>

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
