// Windows, message queues, timers and the few user-interface queries the
// service makes: the window manager's part of the platform seam.
#pragma once

#include <functional>

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

// Called for each event of a hook set with SetWinEventHook.
using WinEventCallback = std::function<void(DWORD event, HWND hwnd)>;

// System cursor id of the hourglass (IDC_WAIT).
constexpr UINT_PTR kCursorIdWait = 32514;

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
    // --- Skinned interface: a child window's control identifier. ---
    UINT childId = 0;
};

class WindowServices {
public:
    virtual HWND CreateWindowExW(const WindowCreation& creation, WindowMessageTarget* target) = 0;
    // A modeless dialog from the program's dialog template resource. The
    // target sees every message of the dialog window from WM_NCCREATE on,
    // then WM_INITDIALOG; its default processing is the dialog manager's.
    virtual HWND CreateDialogParamW(UINT templateId, HWND parent, WindowMessageTarget* target) = 0;
    virtual BOOL DestroyWindow(HWND hwnd) = 0;
    virtual LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LONG SetWindowLongW(HWND hwnd, int index, LONG value) = 0;
    virtual LONG GetWindowLongW(HWND hwnd, int index) = 0;
    // Top-level window by title, compared without regard to case; an empty
    // class name matches any class.
    virtual HWND FindWindowW(const Text& className, const Text& title) = 0;
    virtual BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Fails for a thread that has no message queue yet.
    virtual BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // To a window of another thread: runs on the owning thread and waits for it.
    virtual LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) = 0;
    virtual BOOL KillTimer(HWND hwnd, UINT_PTR id) = 0;
    // Waits for the calling thread's next message; 0 on WM_QUIT, -1 on error.
    virtual BOOL GetMessageW(MSG* msg) = 0;
    virtual LRESULT DispatchMessageW(const MSG* msg) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;

    // SystemParametersInfoW; the service asks only SPI_GETWHEELSCROLLCHARS.
    virtual BOOL SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni) = 0;
    // LoadCursorW(null, id) for a system cursor id, and SetCursor.
    virtual HANDLE LoadCursorW(HINSTANCE instance, UINT_PTR cursorId) = 0;
    virtual HANDLE SetCursor(HANDLE cursor) = 0;

    // --- any program's windows, as the actions and scrolling look at them ---
    virtual HWND WindowFromPoint(POINT screen) = 0;
    // The immediate child of `parent` at a screen point (hidden ones too),
    // `parent` itself when no child is there, null outside `parent`.
    virtual HWND ChildWindowFromPoint(HWND parent, POINT screen) = 0;
    virtual HWND GetDesktopWindow() = 0;
    // At most 259 units; empty for a null or vanished window.
    virtual Text GetClassNameW(HWND hwnd) = 0;
    virtual BOOL GetWindowRect(HWND hwnd, RECT* rect) = 0;
    // The parent of a child window, the owner of a pop-up, else null.
    virtual HWND GetParent(HWND hwnd) = 0;
    // GW_CHILD, GW_HWNDNEXT, GW_HWNDPREV: siblings in z-order, top first.
    virtual HWND GetWindow(HWND hwnd, UINT relation) = 0;
    // Every descendant of `parent`, each followed by its own; `visit`
    // answers false to stop. Nothing for a null parent.
    virtual void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) = 0;
    // Nonzero when the window answered within `timeout` ms (its result in
    // `result`); zero when it timed out or hangs.
    virtual LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                        UINT timeout, LRESULT* result) = 0;
    virtual int GetSystemMetrics(int index) = 0;

    // --- the foreground ---
    virtual HWND GetForegroundWindow() = 0;
    // The thread that made the window; 0 for no window.
    virtual DWORD GetWindowThreadProcessId(HWND hwnd) = 0;
    virtual BOOL AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) = 0;
    virtual BOOL SetForegroundWindow(HWND hwnd) = 0;

    // --- foreground changes and the programs that own windows ---
    // GetWindowThreadProcessId's process id; 0 for no window.
    virtual DWORD GetWindowProcessId(HWND hwnd) = 0;
    // SetWinEventHook out of context (WINEVENT_OUTOFCONTEXT, events of other
    // processes only): the callback runs on the calling thread while it
    // takes its messages. Null when the hook could not be set.
    virtual HANDLE SetWinEventHook(DWORD eventMin, DWORD eventMax, WinEventCallback callback) = 0;
    virtual BOOL UnhookWinEvent(HANDLE hook) = 0;

    // --- Skinned interface: showing, placing, shaping and painting windows,
    // the mouse capture and paint-only waits. ---
    virtual BOOL ShowWindow(HWND hwnd, int command) = 0;
    virtual BOOL IsWindowVisible(HWND hwnd) = 0;
    // insertAfter: HWND_TOPMOST, HWND_NOTOPMOST, HWND_TOP or a window.
    virtual BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height,
                              UINT flags) = 0;
    virtual BOOL SetWindowTextW(HWND hwnd, const Text& text) = 0;
    virtual BOOL GetClientRect(HWND hwnd, RECT* rect) = 0;
    virtual BOOL ClientToScreen(HWND hwnd, POINT* point) = 0;
    virtual BOOL ScreenToClient(HWND hwnd, POINT* point) = 0;
    // The window takes ownership of the region (null: no region).
    virtual int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) = 0;
    // rect null: the whole client area.
    virtual BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) = 0;
    // Sends WM_PAINT at once when the window has an update region.
    virtual BOOL UpdateWindow(HWND hwnd) = 0;
    virtual HWND SetCapture(HWND hwnd) = 0;
    virtual BOOL ReleaseCapture() = 0;
    virtual HWND GetCapture() = 0;
    // The calling thread's next message within [first, last] for `hwnd` and
    // its children (null: any); `flags` PM_REMOVE and the PM_QS_* kinds.
    // Messages sent from other threads (and out-of-context event hooks'
    // calls) are handled first, whatever the kinds: Wine does so.
    virtual BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags) = 0;
    // With no handles: waits until the calling thread has a message of the
    // QS_* kinds in `wake` or the time is up: WAIT_OBJECT_0 or WAIT_TIMEOUT.
    virtual DWORD MsgWaitForMultipleObjects(DWORD milliseconds, DWORD wake) = 0;
    // --- a wait that keeps answering (the device link's close on the main thread) ---
    // PeekMessageW(&msg, null, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE): runs the
    // messages that other threads have sent to the calling thread and are
    // waiting for; takes no posted message and fires no timer.
    virtual void HandleSentMessages() = 0;
    // --- end of the wait that keeps answering ---

protected:
    ~WindowServices() = default;
};
