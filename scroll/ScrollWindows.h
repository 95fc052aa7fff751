// What horizontal scrolling asks about windows: which window lies under a
// point, and each window's class, style, rectangle and relatives. It only
// inspects; nothing here changes or sends anything.
//
// Each method stands for the Win32 call named beside it. On Windows the
// implementation calls it (scroll/win32); tests answer from a window tree
// described as data.
#pragma once

#include <functional>

#include "platform/Text.h"
#include "platform/WinTypes.h"

class ScrollWindows {
public:
    virtual ~ScrollWindows() = default;

    // WindowFromPoint: the deepest window at a screen point, or null.
    virtual HWND WindowFromPoint(POINT screen) = 0;
    // GetDesktopWindow.
    virtual HWND GetDesktopWindow() = 0;
    // GetClassNameW into a 260-character buffer: at most 259 characters,
    // empty when the window is gone.
    virtual Text GetClassNameW(HWND window) = 0;
    // GetWindowLongW; asked only for GWL_STYLE. 0 when the window is gone.
    virtual LONG GetWindowLongW(HWND window, int index) = 0;
    // GetWindowRect: the window's rectangle in screen coordinates; FALSE when
    // the window is gone.
    virtual BOOL GetWindowRect(HWND window, RECT* rect) = 0;
    // GetParent.
    virtual HWND GetParent(HWND window) = 0;
    // GetWindow with GW_CHILD (first child), GW_HWNDNEXT (next sibling) or
    // GW_HWNDPREV (previous sibling), in the windows' stacking order.
    virtual HWND GetWindow(HWND window, UINT relation) = 0;
    // ScreenToClient(parent, point) then ChildWindowFromPoint(parent, point):
    // the direct child of `parent` containing the screen point, `parent`
    // itself when no child does, null when the point lies outside `parent`.
    virtual HWND ChildWindowFromPoint(HWND parent, POINT screen) = 0;
    // EnumChildWindows: every descendant of `parent` (not null), each before
    // its own children; enumeration stops when `visit` returns false.
    virtual void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) = 0;
};
