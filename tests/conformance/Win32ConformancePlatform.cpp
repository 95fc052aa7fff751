#include <windows.h>

#include "platform/win32/Win32Platform.h"
#include "tests/conformance/ConformancePlatform.h"

namespace {

// Set in the environment of the copy of this program that plays "another
// program": it brings a window of its own forward, tells the event hooks,
// and ends.
constexpr wchar_t kRaiseEventVariable[] = L"CONFORMANCE_RAISE_FOREGROUND_EVENT";
constexpr DWORD kHelperWaitMs = 10000;

struct RaiseEventWhenAsked {
    RaiseEventWhenAsked() {
        wchar_t value[8];
        if (::GetEnvironmentVariableW(kRaiseEventVariable, value, 8) == 0) return;
        HWND window = ::CreateWindowExW(0, L"STATIC", L"Conformance Other Program", WS_POPUP | WS_VISIBLE, 0, 0,
                                        50, 50, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(window);
        ::NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
        ::DestroyWindow(window);
        ::ExitProcess(0);
    }
} gRaiseEventWhenAsked;

struct Win32Conformance final : ConformancePlatform {
    const Platform& Get() override { return platform; }
    bool RaiseForeignForegroundEvent() override {
        wchar_t self[MAX_PATH];
        if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return false;
        ::SetEnvironmentVariableW(kRaiseEventVariable, L"1");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        wchar_t commandLine[MAX_PATH + 2];
        ::wsprintfW(commandLine, L"\"%s\"", self);
        const BOOL started =
            ::CreateProcessW(self, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
        ::SetEnvironmentVariableW(kRaiseEventVariable, nullptr);
        if (!started) return false;
        // Until the other program has ended; no message of this thread is
        // looked at meanwhile.
        const DWORD ended = ::WaitForSingleObject(process.hProcess, kHelperWaitMs);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return ended == WAIT_OBJECT_0;
    }
    Win32Platform platform;
};

}  // namespace

std::unique_ptr<ConformancePlatform> MakeConformancePlatform() {
    return std::make_unique<Win32Conformance>();
}
