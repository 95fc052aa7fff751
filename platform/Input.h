// Synthesized keyboard and mouse input and the pointer position. Method names
// and arguments follow the Win32 functions they stand for, so the calling
// code reads as it would against the real API. On Windows it is the real
// input stream (win32/Win32Input); on the host a recorder (fake/FakeInput).
#pragma once

#include "platform/WinTypes.h"

#ifndef _WIN32
using ULONG_PTR = std::uintptr_t;

constexpr DWORD KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr DWORD KEYEVENTF_KEYUP = 0x0002;

constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;
constexpr DWORD MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr DWORD MOUSEEVENTF_RIGHTUP = 0x0010;
constexpr DWORD MOUSEEVENTF_MIDDLEDOWN = 0x0020;
constexpr DWORD MOUSEEVENTF_MIDDLEUP = 0x0040;
constexpr DWORD MOUSEEVENTF_XDOWN = 0x0080;
constexpr DWORD MOUSEEVENTF_XUP = 0x0100;
constexpr DWORD MOUSEEVENTF_WHEEL = 0x0800;
constexpr DWORD MOUSEEVENTF_HWHEEL = 0x1000;
constexpr DWORD MOUSEEVENTF_ABSOLUTE = 0x8000;

constexpr DWORD XBUTTON1 = 0x0001;
constexpr DWORD XBUTTON2 = 0x0002;
constexpr int WHEEL_DELTA = 120;

constexpr BYTE VK_TAB = 0x09;
constexpr BYTE VK_PRIOR = 0x21;
constexpr BYTE VK_NEXT = 0x22;
constexpr BYTE VK_ADD = 0x6B;
constexpr BYTE VK_SUBTRACT = 0x6D;
constexpr BYTE VK_LCONTROL = 0xA2;
constexpr BYTE VK_VOLUME_MUTE = 0xAD;
constexpr BYTE VK_VOLUME_DOWN = 0xAE;
constexpr BYTE VK_VOLUME_UP = 0xAF;
constexpr BYTE VK_MEDIA_NEXT_TRACK = 0xB0;
constexpr BYTE VK_MEDIA_PREV_TRACK = 0xB1;
constexpr BYTE VK_MEDIA_PLAY_PAUSE = 0xB3;
#endif  // _WIN32

class InputInjection {
public:
    virtual ~InputInjection() = default;

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
};

// The input stream the process injects into. Set once at start (the real one
// in the product, a recorder in tests), like the platform itself.
InputInjection& Input();
void SetInput(InputInjection* input);
