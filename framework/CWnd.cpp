#include "framework/CWnd.h"

#include <map>
#include <mutex>

#include "framework/CWinApp.h"

namespace {

// Window handles of this process and the objects that own them.
std::mutex g_handleLock;
std::map<HWND, CWnd*> g_handles;
// Bounds the walk from a window to the windows it belongs to.
constexpr int kMaxOwnerWalk = 32;

}  // namespace

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        HWND hwnd = m_hWnd;
        Detach();
        Sys().Windows.DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    std::lock_guard<std::mutex> guard(g_handleLock);
    auto it = g_handles.find(hwnd);
    return it == g_handles.end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    std::lock_guard<std::mutex> guard(g_handleLock);
    g_handles[hwnd] = this;
}

void CWnd::Detach() {
    std::lock_guard<std::mutex> guard(g_handleLock);
    auto it = g_handles.find(m_hWnd);
    if (it != g_handles.end() && it->second == this) g_handles.erase(it);
    m_hWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, const Text& className, const Text& title, DWORD style, int x,
                    int y, int width, int height, HWND parent) {
    WindowCreation creation;
    creation.exStyle = exStyle;
    creation.className = className;
    creation.title = title;
    creation.style = style;
    creation.x = x;
    creation.y = y;
    creation.width = width;
    creation.height = height;
    creation.parent = parent;
    parent_ = parent;
    return CreateFrom(creation);
}

BOOL CWnd::CreateFrom(const WindowCreation& creation) {
    BeginCreation();
    HWND hwnd = Sys().Windows.CreateWindowExW(creation, this);
    EndCreation();
    return hwnd != nullptr ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    destroying_ = true;
    const BOOL destroyed = Sys().Windows.DestroyWindow(m_hWnd);
    if (!destroyed) destroying_ = false;
    return destroyed;
}

bool CWnd::BeingDestroyed() const {
    // Children and owned windows go with the window they belong to.
    const CWnd* wnd = this;
    for (int depth = 0; wnd != nullptr && depth < kMaxOwnerWalk; ++depth) {
        if (wnd->destroying_) return true;
        wnd = wnd->parent_ != nullptr ? FromHandle(wnd->parent_) : nullptr;
    }
    return false;
}

bool CWnd::TakesLifecycleMessage(UINT message) const {
    switch (message) {
        case WM_NCCREATE: return m_hWnd == nullptr && creating_;
        case WM_CREATE: return creating_;
        case WM_DESTROY:
        case WM_NCDESTROY: return BeingDestroyed();
        default: return true;
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!TakesLifecycleMessage(message)) return 0;
    if (message == WM_NCCREATE) Attach(hwnd);
    const LRESULT result = WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        Detach();
        // The application ends when its main window is gone.
        CWinApp* app = AfxGetApp();
        if (app != nullptr && app->m_pMainWnd == this) Sys().Windows.PostQuitMessage(0);
        PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ProcessMessageMap(message, wParam, lParam, result)) return result;
    if (message != WM_CLOSE) return Default(message, wParam, lParam);
    // The default processing of WM_CLOSE may destroy the window (a dialog's
    // does not): its destruction messages are then the system's own.
    destroying_ = true;
    result = Default(message, wParam, lParam);
    if (m_hWnd != nullptr) destroying_ = false;
    return result;
}

bool CWnd::ProcessMessageMap(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return Sys().Windows.DefWindowProcW(m_hWnd, message, wParam, lParam);
}

int CWnd::OnCreateDefault() { return static_cast<int>(Default(WM_CREATE, 0, 0)); }
