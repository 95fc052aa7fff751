#include "tools/standin/StandInWindow.h"

#include <cstdio>

namespace {

std::wstring g_logPath;

void AppendLog(const char* line) {
    FILE* log = _wfopen(g_logPath.c_str(), L"ab");
    if (log == nullptr) return;
    std::fputs(line, log);
    std::fclose(log);  // every line on disk at once: the test reads it while we run
}

LRESULT CALLBACK StandInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    char line[128];
    std::snprintf(line, sizeof line, "%llu msg=0x%04x wParam=%llu lParam=%lld\n", WallClockMs(),
                  message, static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
    AppendLog(line);
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

unsigned long long WallClockMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{};
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    return value.QuadPart / 10000ULL;
}

int RunStandInWindow(const std::wstring& title, const std::wstring& logPath) {
    g_logPath = logPath;
    char line[128];
    std::snprintf(line, sizeof line, "%llu started\n", WallClockMs());
    AppendLog(line);

    WNDCLASSW wc{};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MousehidStandInWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                100, nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr) return 1;

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::snprintf(line, sizeof line, "%llu ended\n", WallClockMs());
    AppendLog(line);
    return 0;
}
