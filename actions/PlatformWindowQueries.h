// The window questions of the action engine, answered by the platform.
#pragma once

#include "actions/WindowQueries.h"

class PlatformWindowQueries final : public WindowQueries {
public:
    HWND WindowFromPoint(POINT point) override;
    Text GetClassNameW(HWND window) override;
    HWND GetParent(HWND window) override;
    HWND GetForegroundWindow() override;
    DWORD GetWindowThreadProcessId(HWND window) override;
    BOOL AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) override;
    BOOL SetForegroundWindow(HWND window) override;
};
