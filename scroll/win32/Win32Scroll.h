// The real window inspection, input and browser access behind horizontal
// scrolling: each method makes the Win32 or COM call it stands for.
#pragma once

#include "scroll/ScrollSystem.h"

class Win32ScrollWindows final : public ScrollWindows {
public:
    HWND WindowFromPoint(POINT screen) override;
    HWND GetDesktopWindow() override;
    Text GetClassNameW(HWND window) override;
    LONG GetWindowLongW(HWND window, int index) override;
    BOOL GetWindowRect(HWND window, RECT* rect) override;
    HWND GetParent(HWND window) override;
    HWND GetWindow(HWND window, UINT relation) override;
    HWND ChildWindowFromPoint(HWND parent, POINT screen) override;
    void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) override;
};

class Win32ScrollSender final : public ScrollSender {
public:
    BOOL GetCursorPos(POINT* point) override;
    BOOL SetCursorPos(int x, int y) override;
    int GetSystemMetrics(int index) override;
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, std::uintptr_t extra) override;
    BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeout, LRESULT* result) override;
};

class Win32BrowserAccess final : public BrowserAccess {
public:
    HRESULT CoInitialize() override;
    void CoUninitialize() override;
    HMODULE LoadLibraryW(const Text& name) override;
    void FreeLibrary(HMODULE library) override;
    UINT RegisterWindowMessageW(const Text& name) override;
    HRESULT ObjectFromLresult(HMODULE library, LRESULT result, BrowserObject* document) override;
    HRESULT GetScript(BrowserObject document, BrowserObject* script) override;
    HRESULT QueryWindow(BrowserObject script, BrowserObject* window) override;
    HRESULT ScrollBy(BrowserObject window, LONG x, LONG y) override;
    void Release(BrowserObject object) override;
};

// The process's real scroll system. The objects keep no state, so it serves
// any thread.
const ScrollSystem& Win32ScrollSystem();
