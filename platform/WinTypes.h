// Win32 types and constants that the service's own code names.
// On Windows this is windows.h itself; on the host the same names are
// defined here with the same values, so the logic compiles unchanged.
#pragma once

#include <cstdint>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shlobj.h>  // CSIDL_* folder ids
#include <tlhelp32.h>  // TH32CS_SNAPPROCESS
#else

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HRESULT = std::int32_t;
using REGSAM = DWORD;

struct HWND__;
using HWND = HWND__*;
struct HANDLE__;
using HANDLE = HANDLE__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HKEY__;
using HKEY = HKEY__*;

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;
constexpr DWORD ERROR_TIMEOUT = 1460;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ENDSESSION = 0x0016;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_DEVICECHANGE = 0x0219;
constexpr UINT WM_WTSSESSION_CHANGE = 0x02B1;
constexpr UINT WM_USER = 0x0400;

constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;

constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;

constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080u;

constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_FLAG_CREATE = 0x8000;

constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u)))
#define HKEY_CURRENT_CONFIG (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000005u)))

constexpr UINT SPI_GETWHEELSCROLLCHARS = 0x006C;

// Horizontal scrolling and input.
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINERIGHT = 1;
constexpr int VK_LEFT = 0x25;
constexpr int VK_RIGHT = 0x27;
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


// Synthesized input.
using ULONG_PTR = std::uintptr_t;

constexpr DWORD KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr DWORD KEYEVENTF_KEYUP = 0x0002;

constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
constexpr DWORD MOUSEEVENTF_MIDDLEDOWN = 0x0020;
constexpr DWORD MOUSEEVENTF_MIDDLEUP = 0x0040;
constexpr DWORD MOUSEEVENTF_XDOWN = 0x0080;
constexpr DWORD MOUSEEVENTF_XUP = 0x0100;
constexpr DWORD MOUSEEVENTF_WHEEL = 0x0800;
constexpr DWORD MOUSEEVENTF_HWHEEL = 0x1000;

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
// --- Skinned interface: painting, graphics objects, window placement, the
// foreground and paint-only message waits. ---
struct HDC__;
using HDC = HDC__*;
using HGDIOBJ = void*;  // any graphics object, as windows.h has it
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HRGN__;
using HRGN = HRGN__*;
using COLORREF = DWORD;

struct SIZE {
    LONG cx;
    LONG cy;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_CTLCOLOR = 0x0019;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_CAPTURECHANGED = 0x0215;

constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD DS_FIXEDSYS = 0x0008u;
constexpr DWORD DS_SETFONT = 0x0040u;
constexpr DWORD WS_EX_TOPMOST = 0x00000008u;

#define HWND_TOP (reinterpret_cast<HWND>(static_cast<std::intptr_t>(0)))
#define HWND_BOTTOM (reinterpret_cast<HWND>(static_cast<std::intptr_t>(1)))
#define HWND_TOPMOST (reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2)))
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

constexpr UINT QS_POSTMESSAGE = 0x0008;
constexpr UINT QS_TIMER = 0x0010;
constexpr UINT QS_PAINT = 0x0020;
constexpr UINT QS_SENDMESSAGE = 0x0040;
constexpr UINT QS_ALLINPUT = 0x04FF;
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_QS_PAINT = QS_PAINT << 16;
constexpr UINT QS_HOTKEY = 0x0080;
constexpr UINT PM_QS_POSTMESSAGE = (QS_POSTMESSAGE | QS_HOTKEY | QS_TIMER) << 16;
constexpr UINT PM_QS_SENDMESSAGE = QS_SENDMESSAGE << 16;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000u;
constexpr DWORD WAIT_TIMEOUT = 0x00000102u;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD INFINITE = 0xFFFFFFFFu;

constexpr DWORD SRCCOPY = 0x00CC0020u;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int RGN_OR = 2;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Processes and foreground events (the foreground watch).
constexpr DWORD TH32CS_SNAPPROCESS = 0x00000002;
constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
constexpr DWORD EVENT_SYSTEM_FOREGROUND = 0x0003;

#endif  // _WIN32
