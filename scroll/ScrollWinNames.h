// Win32 names used by horizontal scrolling. On Windows they come from
// windows.h (through platform/WinTypes.h); on the host they are defined here
// with the same values.
#pragma once

#include "platform/WinTypes.h"

#ifndef _WIN32

constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_HSCROLL = 0x0114;

constexpr WPARAM SB_LINELEFT = 0;
constexpr WPARAM SB_LINERIGHT = 1;

constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_RIGHT = 0x27;

constexpr DWORD WS_HSCROLL = 0x00100000u;
constexpr DWORD SBS_VERT = 0x0001u;
constexpr DWORD SBS_SIZEBOX = 0x0008u;

constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_CHILD = 5;

constexpr int SM_SWAPBUTTON = 23;

constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002u;
constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004u;
constexpr DWORD MOUSEEVENTF_RIGHTDOWN = 0x0008u;
constexpr DWORD MOUSEEVENTF_RIGHTUP = 0x0010u;
constexpr DWORD MOUSEEVENTF_ABSOLUTE = 0x8000u;

constexpr HRESULT S_OK = 0;

#endif  // _WIN32
