#include "platform/win32/Win32Platform.h"

namespace {

LRESULT CALLBACK RoutingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* target = reinterpret_cast<WindowMessageTarget*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (target == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = target->HandleWindowMessage(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return result;
}

void RegisterClassOnce(const Text& className) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), Wide(className), &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = RoutingWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = nullptr;
    wc.hbrBackground = nullptr;
    wc.hIcon = nullptr;
    wc.lpszClassName = Wide(className);
    ::RegisterClassExW(&wc);
}

// Dialogs come from the dialog manager, which creates the window itself. A
// thread-local creation hook subclasses the dialog window before its first
// message, so that its target sees the whole life of the window as with
// windows of our own class; the dialog manager's procedure stays the
// default processing.
const wchar_t kDialogProcProperty[] = L"MouseHidDialogProc";
thread_local WindowMessageTarget* t_pendingDialog = nullptr;
thread_local HHOOK t_dialogHook = nullptr;

LRESULT CALLBACK DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* target = reinterpret_cast<WindowMessageTarget*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto original = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kDialogProcProperty));
    LRESULT result = 0;
    if (target != nullptr)
        result = target->HandleWindowMessage(hwnd, message, wParam, lParam);
    else if (original != nullptr)
        result = ::CallWindowProcW(original, hwnd, message, wParam, lParam);
    else
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::RemovePropW(hwnd, kDialogProcProperty);
    }
    return result;
}

LRESULT CALLBACK DialogCreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pendingDialog != nullptr) {
        // The first window created is the dialog; its controls follow.
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        WindowMessageTarget* target = t_pendingDialog;
        t_pendingDialog = nullptr;
        ::SetPropW(hwnd, kDialogProcProperty,
                   reinterpret_cast<HANDLE>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogWindowProc));
    }
    return ::CallNextHookEx(t_dialogHook, code, wParam, lParam);
}

// The dialog procedure has nothing to do: the subclass routes every message.
INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

HWND Win32Windows::CreateWindowExW(const WindowCreation& c, WindowMessageTarget* target) {
    RegisterClassOnce(c.className);
    return ::CreateWindowExW(c.exStyle, Wide(c.className), Wide(c.title), c.style, c.x, c.y,
                             c.width, c.height, c.parent, nullptr, ::GetModuleHandleW(nullptr),
                             target);
}

BOOL Win32Windows::DestroyWindow(HWND hwnd) { return ::DestroyWindow(hwnd); }

HWND Win32Windows::CreateDialogParamW(UINT templateId, HWND parent, WindowMessageTarget* target) {
    t_pendingDialog = target;
    t_dialogHook = ::SetWindowsHookExW(WH_CBT, DialogCreationHook, nullptr, ::GetCurrentThreadId());
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                                     PassiveDialogProc, 0);
    if (t_dialogHook != nullptr) ::UnhookWindowsHookEx(t_dialogHook);
    t_dialogHook = nullptr;
    t_pendingDialog = nullptr;
    return hwnd;
}

LRESULT Win32Windows::DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // A dialog's default processing is the dialog manager's procedure.
    if (auto original = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kDialogProcProperty)))
        return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LONG Win32Windows::SetWindowLongW(HWND hwnd, int index, LONG value) {
    return ::SetWindowLongW(hwnd, index, value);
}

LONG Win32Windows::GetWindowLongW(HWND hwnd, int index) { return ::GetWindowLongW(hwnd, index); }

HWND Win32Windows::FindWindowW(const Text& className, const Text& title) {
    return ::FindWindowW(className.empty() ? nullptr : Wide(className), Wide(title));
}

BOOL Win32Windows::PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(hwnd, message, wParam, lParam);
}

BOOL Win32Windows::PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageW(threadId, message, wParam, lParam);
}

UINT_PTR Win32Windows::SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) {
    return ::SetTimer(hwnd, id, milliseconds, nullptr);
}

BOOL Win32Windows::KillTimer(HWND hwnd, UINT_PTR id) { return ::KillTimer(hwnd, id); }
BOOL Win32Windows::GetMessageW(MSG* msg) { return ::GetMessageW(msg, nullptr, 0, 0); }
LRESULT Win32Windows::DispatchMessageW(const MSG* msg) { return ::DispatchMessageW(msg); }
void Win32Windows::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

BOOL Win32Windows::SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni) {
    return ::SystemParametersInfoW(action, param, value, winIni);
}

HANDLE Win32Windows::LoadCursorW(HINSTANCE instance, UINT_PTR cursorId) {
    return reinterpret_cast<HANDLE>(::LoadCursorW(instance, MAKEINTRESOURCEW(cursorId)));
}

HANDLE Win32Windows::SetCursor(HANDLE cursor) {
    return reinterpret_cast<HANDLE>(::SetCursor(reinterpret_cast<HCURSOR>(cursor)));
}

LRESULT Win32Windows::SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(hwnd, message, wParam, lParam);
}

// --- any program's windows ---

namespace {

constexpr int kClassNameBuffer = 260;

BOOL CALLBACK VisitChild(HWND child, LPARAM visitor) {
    const auto& visit = *reinterpret_cast<const std::function<bool(HWND)>*>(visitor);
    return visit(child) ? TRUE : FALSE;
}

}  // namespace

HWND Win32Windows::WindowFromPoint(POINT screen) { return ::WindowFromPoint(screen); }

HWND Win32Windows::ChildWindowFromPoint(HWND parent, POINT screen) {
    POINT client = screen;
    if (!::ScreenToClient(parent, &client)) return nullptr;
    return ::ChildWindowFromPoint(parent, client);
}

HWND Win32Windows::GetDesktopWindow() { return ::GetDesktopWindow(); }

Text Win32Windows::GetClassNameW(HWND hwnd) {
    wchar_t name[kClassNameBuffer] = {};
    const int length = ::GetClassNameW(hwnd, name, kClassNameBuffer);
    if (length <= 0) return Text();
    return Text(reinterpret_cast<const char16_t*>(name), static_cast<std::size_t>(length));
}

BOOL Win32Windows::GetWindowRect(HWND hwnd, RECT* rect) { return ::GetWindowRect(hwnd, rect); }
HWND Win32Windows::GetParent(HWND hwnd) { return ::GetParent(hwnd); }
HWND Win32Windows::GetWindow(HWND hwnd, UINT relation) { return ::GetWindow(hwnd, relation); }

void Win32Windows::EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) {
    if (parent == nullptr) return;  // a null parent would enumerate the top-level windows
    ::EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&visit));
}

LRESULT Win32Windows::SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                          UINT timeout, LRESULT* result) {
    DWORD_PTR answer = 0;
    const LRESULT sent = ::SendMessageTimeoutW(hwnd, message, wParam, lParam, flags, timeout, &answer);
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return sent;
}

int Win32Windows::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

// --- the foreground ---

HWND Win32Windows::GetForegroundWindow() { return ::GetForegroundWindow(); }

DWORD Win32Windows::GetWindowThreadProcessId(HWND hwnd) { return ::GetWindowThreadProcessId(hwnd, nullptr); }

BOOL Win32Windows::AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) {
    return ::AttachThreadInput(attachThread, attachToThread, attach);
}

BOOL Win32Windows::SetForegroundWindow(HWND hwnd) { return ::SetForegroundWindow(hwnd); }

// --- foreground changes and the programs that own windows ---

#include <map>
#include <mutex>

namespace {

// Out-of-context hooks call a plain function with the hook's handle; the
// handle finds the callback.
std::mutex g_winEventLock;
std::map<HWINEVENTHOOK, WinEventCallback> g_winEventCallbacks;

void CALLBACK RouteWinEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG, LONG, DWORD, DWORD) {
    WinEventCallback callback;
    {
        std::lock_guard<std::mutex> guard(g_winEventLock);
        auto it = g_winEventCallbacks.find(hook);
        if (it == g_winEventCallbacks.end()) return;
        callback = it->second;
    }
    callback(event, hwnd);
}

}  // namespace

DWORD Win32Windows::GetWindowProcessId(HWND hwnd) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hwnd, &processId);
    return processId;
}

HANDLE Win32Windows::SetWinEventHook(DWORD eventMin, DWORD eventMax, WinEventCallback callback) {
    std::lock_guard<std::mutex> guard(g_winEventLock);
    HWINEVENTHOOK hook = ::SetWinEventHook(eventMin, eventMax, nullptr, RouteWinEvent, 0, 0,
                                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook == nullptr) return nullptr;
    g_winEventCallbacks[hook] = std::move(callback);
    return reinterpret_cast<HANDLE>(hook);
}

BOOL Win32Windows::UnhookWinEvent(HANDLE hook) {
    const auto handle = reinterpret_cast<HWINEVENTHOOK>(hook);
    {
        std::lock_guard<std::mutex> guard(g_winEventLock);
        g_winEventCallbacks.erase(handle);
    }
    return ::UnhookWinEvent(handle);
}

// --- Skinned interface: showing, placing, shaping and painting windows, the
// mouse capture and paint-only waits. ---

BOOL Win32Windows::ShowWindow(HWND hwnd, int command) { return ::ShowWindow(hwnd, command); }
BOOL Win32Windows::IsWindowVisible(HWND hwnd) { return ::IsWindowVisible(hwnd); }

BOOL Win32Windows::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height,
                                UINT flags) {
    return ::SetWindowPos(hwnd, insertAfter, x, y, width, height, flags);
}

BOOL Win32Windows::SetWindowTextW(HWND hwnd, const Text& text) {
    return ::SetWindowTextW(hwnd, Wide(text));
}

BOOL Win32Windows::GetClientRect(HWND hwnd, RECT* rect) { return ::GetClientRect(hwnd, rect); }
BOOL Win32Windows::ClientToScreen(HWND hwnd, POINT* point) { return ::ClientToScreen(hwnd, point); }
BOOL Win32Windows::ScreenToClient(HWND hwnd, POINT* point) { return ::ScreenToClient(hwnd, point); }

int Win32Windows::SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    return ::SetWindowRgn(hwnd, region, redraw);
}

BOOL Win32Windows::InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return ::InvalidateRect(hwnd, rect, erase);
}

BOOL Win32Windows::UpdateWindow(HWND hwnd) { return ::UpdateWindow(hwnd); }
HWND Win32Windows::SetCapture(HWND hwnd) { return ::SetCapture(hwnd); }
BOOL Win32Windows::ReleaseCapture() { return ::ReleaseCapture(); }
HWND Win32Windows::GetCapture() { return ::GetCapture(); }

BOOL Win32Windows::PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags) {
    return ::PeekMessageW(msg, hwnd, first, last, flags);
}

DWORD Win32Windows::MsgWaitForMultipleObjects(DWORD milliseconds, DWORD wake) {
    return ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, wake);
}
// --- a wait that keeps answering ---
void Win32Windows::HandleSentMessages() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}
// --- end of the wait that keeps answering ---
