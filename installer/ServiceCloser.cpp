#include "installer/ServiceCloser.h"

#include "contract/Names.h"

namespace {

constexpr DWORD kPollMs = 50;

HWND ServiceWindow() { return FindWindowW(nullptr, reinterpret_cast<const wchar_t*>(kServiceWindowTitle)); }

// Asks one service to close and waits until its process has ended (or, when
// the process cannot be opened, its window has gone), until `waitMs` after
// `start`.
bool CloseOne(HWND window, DWORD start, DWORD waitMs) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = processId != 0 ? OpenProcess(SYNCHRONIZE, FALSE, processId) : nullptr;
    PostMessageW(window, WM_CLOSE, 0, 0);
    bool ended = false;
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= waitMs) break;
        const DWORD left = waitMs - spent;
        const DWORD step = left < kPollMs ? left : kPollMs;
        if (process != nullptr) {
            ended = WaitForSingleObject(process, step) == WAIT_OBJECT_0;
        } else {
            ended = !IsWindow(window);
            if (!ended) Sleep(step);
        }
        if (ended) break;
    }
    if (process != nullptr) CloseHandle(process);
    return ended;
}

}  // namespace

bool CloseRunningService(DWORD waitMs) {
    // One instance runs per user; a window still found after the first one
    // closed (a service that was starting meanwhile) is closed within the
    // same bound.
    const DWORD start = GetTickCount();
    while (HWND window = ServiceWindow()) {
        if (!CloseOne(window, start, waitMs)) return false;
        if (GetTickCount() - start >= waitMs) return ServiceWindow() == nullptr;
    }
    return true;
}
