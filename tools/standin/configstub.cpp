// Stand-in configuration program.
//
//   configstub.exe window TITLE LOGFILE   a window titled TITLE that logs every message
//   configstub.exe post MSG WPARAM LPARAM posts a message to the service's window;
//                                         exit code 0 when the window was found
//   configstub.exe close TITLE            posts WM_CLOSE to the window titled TITLE
// Numbers may be decimal or 0x-prefixed hexadecimal.
#include <cwchar>
#include <string>

#include "tools/standin/StandInWindow.h"

namespace {

constexpr wchar_t kServiceTitle[] = L"Lunket_GamingMouseHid";

long long Number(const wchar_t* text) { return std::wcstoll(text, nullptr, 0); }

int Usage() {
    std::fwprintf(stderr, L"usage: configstub window TITLE LOGFILE | post MSG WPARAM LPARAM | close TITLE\n");
    return 2;
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
    return Usage();
}
