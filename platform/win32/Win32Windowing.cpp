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

}  // namespace

HWND Win32Windows::CreateWindowExW(const WindowCreation& c, WindowMessageTarget* target) {
    RegisterClassOnce(c.className);
    return ::CreateWindowExW(c.exStyle, Wide(c.className), Wide(c.title), c.style, c.x, c.y,
                             c.width, c.height, c.parent, nullptr, ::GetModuleHandleW(nullptr),
                             target);
}

BOOL Win32Windows::DestroyWindow(HWND hwnd) { return ::DestroyWindow(hwnd); }

LRESULT Win32Windows::DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
