#include "scroll/win32/Win32Scroll.h"

namespace {

constexpr int kClassNameBuffer = 260;

BOOL CALLBACK VisitChild(HWND child, LPARAM visitor) {
    const auto& visit = *reinterpret_cast<const std::function<bool(HWND)>*>(visitor);
    return visit(child) ? TRUE : FALSE;
}

}  // namespace

HWND Win32ScrollWindows::WindowFromPoint(POINT screen) { return ::WindowFromPoint(screen); }

HWND Win32ScrollWindows::GetDesktopWindow() { return ::GetDesktopWindow(); }

Text Win32ScrollWindows::GetClassNameW(HWND window) {
    wchar_t name[kClassNameBuffer] = {};
    const int length = ::GetClassNameW(window, name, kClassNameBuffer);
    if (length <= 0) return Text();
    return Text(reinterpret_cast<const char16_t*>(name), static_cast<std::size_t>(length));
}

LONG Win32ScrollWindows::GetWindowLongW(HWND window, int index) { return ::GetWindowLongW(window, index); }

BOOL Win32ScrollWindows::GetWindowRect(HWND window, RECT* rect) { return ::GetWindowRect(window, rect); }

HWND Win32ScrollWindows::GetParent(HWND window) { return ::GetParent(window); }

HWND Win32ScrollWindows::GetWindow(HWND window, UINT relation) { return ::GetWindow(window, relation); }

HWND Win32ScrollWindows::ChildWindowFromPoint(HWND parent, POINT screen) {
    POINT client = screen;
    if (!::ScreenToClient(parent, &client)) return nullptr;
    return ::ChildWindowFromPoint(parent, client);
}

void Win32ScrollWindows::EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) {
    if (parent == nullptr) return;  // a null parent would enumerate the top-level windows
    ::EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&visit));
}
