// Stand-in for a program the user assigned to a button: when started, it
// appends one line to "launchmarker.log" beside itself and ends.
//   "<ms since 1601> started show=<nCmdShow of its start-up info>"
#include <cstdio>
#include <string>

#include "tools/standin/StandInWindow.h"

int wmain() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring log = path;
    const auto slash = log.find_last_of(L'\\');
    log = (slash == std::wstring::npos ? std::wstring() : log.substr(0, slash + 1)) + L"launchmarker.log";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    FILE* file = _wfopen(log.c_str(), L"ab");
    if (file == nullptr) return 1;
    std::fprintf(file, "%llu started show=%d\n", WallClockMs(), show);
    std::fclose(file);
    return 0;
}
