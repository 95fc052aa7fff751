#include "platform/win32/Win32Input.h"

void Win32Input::keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) {
    ::keybd_event(virtualKey, scanCode, flags, extraInfo);
}

void Win32Input::mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo) {
    ::mouse_event(flags, dx, dy, data, extraInfo);
}

LPARAM Win32Input::GetMessageExtraInfo() { return ::GetMessageExtraInfo(); }

BOOL Win32Input::GetCursorPos(POINT* point) { return point != nullptr && ::GetCursorPos(point); }

BOOL Win32Input::SetCursorPos(int x, int y) { return ::SetCursorPos(x, y); }
