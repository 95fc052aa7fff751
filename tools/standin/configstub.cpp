// Stand-in configuration program.
//
//   configstub.exe window TITLE LOGFILE   a window titled TITLE that logs every message
//   configstub.exe post MSG WPARAM LPARAM posts a message to the service's window;
//                                         exit code 0 when the window was found
//   configstub.exe close TITLE            posts WM_CLOSE to the window titled TITLE
//   configstub.exe wait TITLE MS          waits up to MS milliseconds for a window
//                                         titled TITLE; exit code 0 when it exists
//   configstub.exe gone TITLE MS          waits up to MS milliseconds until no window
//                                         is titled TITLE; exit code 0 when none is left
//   configstub.exe front TITLE            brings the window titled TITLE to the front
// Numbers may be decimal or 0x-prefixed hexadecimal.
#include <cwchar>
#include <string>

#include "contract/Names.h"
#include "tools/standin/StandInWindow.h"

namespace {

// The service's title from the contract, as the API's wide string.
const wchar_t* const kServiceTitle = reinterpret_cast<const wchar_t*>(kServiceWindowTitle);

long long Number(const wchar_t* text) { return std::wcstoll(text, nullptr, 0); }

int Usage() {
    std::fwprintf(stderr, L"usage: configstub window TITLE LOGFILE | post MSG WPARAM LPARAM | close TITLE\n"
                          L"       configstub wait TITLE MS | gone TITLE MS | front TITLE\n");
    return 2;
}

// Polls every 20 ms until the window's presence is `wanted` or the time is up.
bool WaitForWindow(const wchar_t* title, bool wanted, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if ((FindWindowW(nullptr, title) != nullptr) == wanted) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::wstring command = argv[1];
    if (command == L"window" && argc == 4) return RunStandInWindow(argv[2], argv[3]);
    if (command == L"post" && argc == 5) {
        HWND service = FindWindowW(nullptr, kServiceTitle);
        if (service == nullptr) return 1;
        return PostMessageW(service, static_cast<UINT>(Number(argv[2])),
                            static_cast<WPARAM>(Number(argv[3])), static_cast<LPARAM>(Number(argv[4])))
                   ? 0
                   : 1;
    }
    if (command == L"close" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        if (window == nullptr) return 1;
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if ((command == L"wait" || command == L"gone") && argc == 4) {
        const long long ms = Number(argv[3]);
        if (ms < 0 || ms > 600000) return Usage();
        return WaitForWindow(argv[2], command == L"wait", static_cast<DWORD>(ms)) ? 0 : 1;
    }
    if (command == L"front" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        if (window == nullptr) return 1;
        ShowWindow(window, SW_SHOWNORMAL);
        return SetForegroundWindow(window) ? 0 : 1;
    }
    return Usage();
}
