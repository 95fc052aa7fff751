#include "framework/CWnd.h"

#include "framework/CWinApp.h"

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        HWND hwnd = m_hWnd;
        m_hWnd = nullptr;
        Sys().Windows.DestroyWindow(hwnd);
    }
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
    HWND hwnd = Sys().Windows.CreateWindowExW(creation, this);
    return hwnd != nullptr ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    return Sys().Windows.DestroyWindow(m_hWnd);
}

LRESULT CWnd::HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) m_hWnd = hwnd;
    const LRESULT result = WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        m_hWnd = nullptr;
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
    return Default(message, wParam, lParam);
}

bool CWnd::ProcessMessageMap(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = m_hWnd;
    return Sys().Windows.DefWindowProcW(hwnd, message, wParam, lParam);
}

int CWnd::OnCreateDefault() { return static_cast<int>(Default(WM_CREATE, 0, 0)); }
