#include "scroll/win32/Win32Scroll.h"

BOOL Win32ScrollSender::GetCursorPos(POINT* point) { return ::GetCursorPos(point); }

BOOL Win32ScrollSender::SetCursorPos(int x, int y) { return ::SetCursorPos(x, y); }

int Win32ScrollSender::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

void Win32ScrollSender::mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, std::uintptr_t extra) {
    ::mouse_event(flags, dx, dy, data, static_cast<ULONG_PTR>(extra));
}

BOOL Win32ScrollSender::PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(window, message, wParam, lParam);
}

LRESULT Win32ScrollSender::SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT flags, UINT timeout, LRESULT* result) {
    DWORD_PTR answer = 0;
    const LRESULT answered = ::SendMessageTimeoutW(window, message, wParam, lParam, flags, timeout, &answer);
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return answered;
}

const ScrollSystem& Win32ScrollSystem() {
    static Win32ScrollWindows windows;
    static Win32ScrollSender sender;
    static Win32BrowserAccess browser;
    static const ScrollSystem system{windows, sender, browser};
    return system;
}
