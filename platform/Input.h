// Synthesized keyboard and mouse input and the pointer position. Method names
// and arguments follow the Win32 functions they stand for, so the calling
// code reads as it would against the real API. On Windows it is the real
// input stream (win32/Win32Input); on the host a recorder (fake/FakeInput).
#pragma once

#include "platform/WinTypes.h"


class InputInjection {
public:
    // keybd_event: one key event into the input stream.
    virtual void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) = 0;
    // mouse_event: one mouse event into the input stream.
    virtual void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo) = 0;
    // GetMessageExtraInfo: the extra information of the calling thread's last input message.
    virtual LPARAM GetMessageExtraInfo() = 0;
    // GetCursorPos: the pointer position in screen coordinates.
    virtual BOOL GetCursorPos(POINT* point) = 0;
    // SetCursorPos: moves the pointer.
    virtual BOOL SetCursorPos(int x, int y) = 0;

protected:
    ~InputInjection() = default;
};
