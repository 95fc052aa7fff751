// The seam between the service and the operating system. Every system
// service the code calls goes through this one interface: on Windows it is
// the real Win32 API (platform/win32), on the host an in-memory fake
// (platform/fake) that records what was asked of it.
//
// Method names and arguments follow the Win32 functions they stand for, so
// the calling code reads as it would against the real API.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FileRead.h"
#include "platform/Text.h"
#include "platform/WinTypes.h"

// Receives the messages of a window created through the platform. The
// framework's CWnd implements it; a window procedure routes to it.
class WindowMessageTarget {
public:
    virtual LRESULT HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowMessageTarget() = default;
};

// System cursor id of the hourglass (IDC_WAIT).
constexpr UINT_PTR kCursorIdWait = 32514;

#ifdef _WIN32
#define PLATFORM_THREAD_CALL WINAPI
#else
#define PLATFORM_THREAD_CALL
#endif
// A thread's routine, with the system's calling convention for thread routines.
using ThreadRoutine = DWORD(PLATFORM_THREAD_CALL*)(void* parameter);

struct WindowCreation {
    DWORD exStyle = 0;
    Text className;  // registered by the platform: class style 0, no cursor, brush or icon
    Text title;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- kernel ---
    virtual HANDLE CreateMutexW(const Text& name) = 0;  // not initially owned
    virtual DWORD GetLastError() = 0;
    virtual BOOL ReleaseMutex(HANDLE mutex) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    virtual HANDLE CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                DWORD* threadId) = 0;
    virtual DWORD GetCurrentThreadId() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual DWORD GetTickCount() = 0;
    virtual void OutputDebugStringW(const Text& line) = 0;

    // --- modules ---
    virtual HMODULE LoadLibraryW(const Text& name) = 0;
    virtual void* GetProcAddress(HMODULE module, const char* name) = 0;
    virtual void* GetProcAddressByOrdinal(HMODULE module, WORD ordinal) = 0;
    // Full path of the running executable, at most 259 units (MAX_PATH buffer).
    virtual Text GetModuleFileNameW() = 0;

    // --- windows and messages ---
    virtual HWND CreateWindowExW(const WindowCreation& creation, WindowMessageTarget* target) = 0;
    virtual BOOL DestroyWindow(HWND hwnd) = 0;
    virtual LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LONG SetWindowLongW(HWND hwnd, int index, LONG value) = 0;
    virtual LONG GetWindowLongW(HWND hwnd, int index) = 0;
    // Top-level window by exact title; an empty class name matches any class.
    virtual HWND FindWindowW(const Text& className, const Text& title) = 0;
    virtual BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) = 0;
    virtual BOOL KillTimer(HWND hwnd, UINT_PTR id) = 0;
    // Waits for the calling thread's next message; 0 on WM_QUIT, -1 on error.
    virtual BOOL GetMessageW(MSG* msg) = 0;
    virtual LRESULT DispatchMessageW(const MSG* msg) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;

    // --- shell and files ---
    // The roaming application-data folder (created if missing), or nothing.
    virtual std::optional<Text> SHGetFolderPathW(int csidl) = 0;
    virtual int SHCreateDirectoryExW(const Text& path) = 0;
    virtual BOOL CopyFileW(const Text& from, const Text& to, BOOL failIfExists) = 0;
    // True when a find-first-file search for the path finds an entry.
    virtual bool FindFirstFileExists(const Text& path) = 0;
    // Whole-file access for the portable settings reader and writer. A read
    // tells a missing file (or folder) from one that is there but could not
    // be read.
    virtual FileRead ReadWholeFile(const Text& path) = 0;
    virtual bool WriteWholeFile(const Text& path, const std::string& bytes) = 0;
    virtual HINSTANCE ShellExecuteW(HWND owner, const Text& verb, const Text& file,
                                    const Text& parameters, const Text& directory, int show) = 0;

    // The system's ANSI code page (GetACP, MultiByteToWideChar and
    // WideCharToMultiByte with CP_ACP).
    virtual const AnsiCodePage& SystemAnsiCodePage() = 0;

    // --- registry ---
    virtual LONG RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) = 0;
    virtual LONG RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;

    // --- COM ---
    virtual void CoUninitialize() = 0;

    // --- device link: system parameters and the wait cursor ---
    // SystemParametersInfoW; on the fake only SPI_GETWHEELSCROLLCHARS is known.
    virtual BOOL SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni) = 0;
    // LoadCursorW(null, id) for a system cursor id, and SetCursor.
    virtual HANDLE LoadCursorW(HINSTANCE instance, UINT_PTR cursorId) = 0;
    virtual HANDLE SetCursor(HANDLE cursor) = 0;

    // --- INI files ---
    // The platform's profile functions. A platform without them answers as
    // a missing file would: the default for reads, failure for writes (the
    // host reads and writes INI files with the portable code in config/).
    // GetPrivateProfileStringW returns at most size - 1 characters.
    virtual UINT GetPrivateProfileIntW(const Text& section, const Text& key, int defaultValue,
                                       const Text& path) {
        (void)section, (void)key, (void)path;
        return static_cast<UINT>(defaultValue);
    }
    virtual Text GetPrivateProfileStringW(const Text& section, const Text& key,
                                          const Text& defaultValue, std::size_t size,
                                          const Text& path) {
        (void)section, (void)key, (void)path;
        return size == 0 ? Text() : defaultValue.substr(0, size - 1);
    }
    virtual BOOL GetPrivateProfileStructW(const Text& section, const Text& key, void* buffer,
                                          UINT size, const Text& path) {
        (void)section, (void)key, (void)buffer, (void)size, (void)path;
        return FALSE;
    }
    virtual BOOL WritePrivateProfileStringW(const Text& section, const Text& key, const Text& value,
                                            const Text& path) {
        (void)section, (void)key, (void)value, (void)path;
        return FALSE;
    }
    virtual BOOL WritePrivateProfileStructW(const Text& section, const Text& key, const void* buffer,
                                            UINT size, const Text& path) {
        (void)section, (void)key, (void)buffer, (void)size, (void)path;
        return FALSE;
    }
    // Replaces a file's contents so that a failure part-way leaves either the
    // old or the new contents, never a cut file. Without a safer way of its
    // own a platform writes the file in place.
    virtual bool ReplaceWholeFile(const Text& path, const std::string& bytes) {
        return WriteWholeFile(path, bytes);
    }
};

// The platform the process runs on. Set once at start (the Win32 platform in
// the product, a fake in tests); every subsystem reaches the system through it.
Platform& Sys();
void SetPlatform(Platform* platform);
