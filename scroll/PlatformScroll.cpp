#include "scroll/PlatformScroll.h"

#include "platform/Platform.h"

HWND PlatformScrollWindows::WindowFromPoint(POINT screen) { return Sys().Windows.WindowFromPoint(screen); }
HWND PlatformScrollWindows::GetDesktopWindow() { return Sys().Windows.GetDesktopWindow(); }
Text PlatformScrollWindows::GetClassNameW(HWND window) { return Sys().Windows.GetClassNameW(window); }

LONG PlatformScrollWindows::GetWindowLongW(HWND window, int index) {
    return Sys().Windows.GetWindowLongW(window, index);
}

BOOL PlatformScrollWindows::GetWindowRect(HWND window, RECT* rect) {
    return Sys().Windows.GetWindowRect(window, rect);
}

HWND PlatformScrollWindows::GetParent(HWND window) { return Sys().Windows.GetParent(window); }

HWND PlatformScrollWindows::GetWindow(HWND window, UINT relation) {
    return Sys().Windows.GetWindow(window, relation);
}

HWND PlatformScrollWindows::ChildWindowFromPoint(HWND parent, POINT screen) {
    return Sys().Windows.ChildWindowFromPoint(parent, screen);
}

void PlatformScrollWindows::EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) {
    Sys().Windows.EnumChildWindows(parent, visit);
}

BOOL PlatformScrollSender::GetCursorPos(POINT* point) { return Sys().Input.GetCursorPos(point); }
BOOL PlatformScrollSender::SetCursorPos(int x, int y) { return Sys().Input.SetCursorPos(x, y); }
int PlatformScrollSender::GetSystemMetrics(int index) { return Sys().Windows.GetSystemMetrics(index); }

void PlatformScrollSender::mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, std::uintptr_t extra) {
    Sys().Input.mouse_event(flags, dx, dy, data, static_cast<ULONG_PTR>(extra));
}

BOOL PlatformScrollSender::PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Sys().Windows.PostMessageW(window, message, wParam, lParam);
}

LRESULT PlatformScrollSender::SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                  UINT flags, UINT timeout, LRESULT* result) {
    return Sys().Windows.SendMessageTimeoutW(window, message, wParam, lParam, flags, timeout, result);
}
