// The real input stream: every call goes to the Win32 API.
#pragma once

#include "platform/Input.h"

class Win32Input final : public InputInjection {
public:
    void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) override;
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo) override;
    LPARAM GetMessageExtraInfo() override;
    BOOL GetCursorPos(POINT* point) override;
    BOOL SetCursorPos(int x, int y) override;
};
