// What horizontal scrolling does to other windows and to the input stream:
// messages, synthesized button clicks and the pointer position.
//
// Each method stands for the Win32 call named beside it. On Windows the
// implementation calls it (scroll/win32); tests record the calls.
#pragma once

#include <cstdint>

#include "platform/WinTypes.h"

class ScrollSender {
public:
    virtual ~ScrollSender() = default;

    // GetCursorPos: the pointer in screen coordinates; FALSE when unknown.
    virtual BOOL GetCursorPos(POINT* point) = 0;
    // SetCursorPos.
    virtual BOOL SetCursorPos(int x, int y) = 0;
    // GetSystemMetrics; asked only for SM_SWAPBUTTON.
    virtual int GetSystemMetrics(int index) = 0;
    // mouse_event.
    virtual void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, std::uintptr_t extra) = 0;
    // PostMessageW.
    virtual BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // SendMessageTimeoutW: nonzero when the window answered within `timeout`
    // milliseconds, with its answer in *result; 0 when it timed out, was
    // found hung (SMTO_ABORTIFHUNG) or is gone.
    virtual LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT flags, UINT timeout, LRESULT* result) = 0;
};
