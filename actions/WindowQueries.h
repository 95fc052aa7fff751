// The questions the action engine asks about other programs' windows, and
// the foreground hand-over before a program launch. Names and arguments
// follow the Win32 functions each method stands for.
#pragma once

#include "platform/Text.h"
#include "platform/WinTypes.h"

class WindowQueries {
public:
    // WindowFromPoint: the window at a screen point, or null.
    virtual HWND WindowFromPoint(POINT point) = 0;
    // GetClassNameW into a zeroed buffer of 260 units: at most 259 units;
    // empty for a null or vanished window.
    virtual Text GetClassNameW(HWND window) = 0;
    // GetParent: null for a top-level or null window.
    virtual HWND GetParent(HWND window) = 0;
    // GetForegroundWindow.
    virtual HWND GetForegroundWindow() = 0;
    // GetWindowThreadProcessId(window, null): the thread that created the window, 0 if none.
    virtual DWORD GetWindowThreadProcessId(HWND window) = 0;
    // AttachThreadInput(attachThread, attachToThread, attach).
    virtual BOOL AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) = 0;
    // SetForegroundWindow.
    virtual BOOL SetForegroundWindow(HWND window) = 0;

protected:
    ~WindowQueries() = default;
};
