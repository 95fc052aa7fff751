// The window inspection and input of horizontal scrolling, answered by the
// platform, and the process's scroll system built on them. Browser access
// is the system's accessibility and browser interfaces on Windows; where
// they do not exist the library is never found and browsers are left alone.
#pragma once

#include "scroll/ScrollSystem.h"

class PlatformScrollWindows final : public ScrollWindows {
public:
    HWND WindowFromPoint(POINT screen) override;
    HWND GetDesktopWindow() override;
    Text GetClassNameW(HWND window) override;
    LONG GetWindowLongW(HWND window, int index) override;
    BOOL GetWindowRect(HWND window, RECT* rect) override;
    HWND GetParent(HWND window) override;
    HWND GetWindow(HWND window, UINT relation) override;
    HWND ChildWindowFromPoint(HWND parent, POINT screen) override;
    void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) override;
};

class PlatformScrollSender final : public ScrollSender {
public:
    BOOL GetCursorPos(POINT* point) override;
    BOOL SetCursorPos(int x, int y) override;
    int GetSystemMetrics(int index) override;
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, std::uintptr_t extra) override;
    BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeout, LRESULT* result) override;
};

// The scroll system of the process; it keeps no state and serves any thread.
const ScrollSystem& ProcessScrollSystem();
