#include "actions/PlatformWindowQueries.h"

#include "platform/Platform.h"

HWND PlatformWindowQueries::WindowFromPoint(POINT point) { return Sys().Windows.WindowFromPoint(point); }
Text PlatformWindowQueries::GetClassNameW(HWND window) { return Sys().Windows.GetClassNameW(window); }
HWND PlatformWindowQueries::GetParent(HWND window) { return Sys().Windows.GetParent(window); }
HWND PlatformWindowQueries::GetForegroundWindow() { return Sys().Windows.GetForegroundWindow(); }

DWORD PlatformWindowQueries::GetWindowThreadProcessId(HWND window) {
    return Sys().Windows.GetWindowThreadProcessId(window);
}

BOOL PlatformWindowQueries::AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) {
    return Sys().Windows.AttachThreadInput(attachThread, attachToThread, attach);
}

BOOL PlatformWindowQueries::SetForegroundWindow(HWND window) {
    return Sys().Windows.SetForegroundWindow(window);
}
