#include "framework/CWinApp.h"

#include "framework/CWnd.h"
#include "framework/PostedMessages.h"
#include "platform/Platform.h"

namespace {
CWinApp* g_app = nullptr;
// Bounds the walk from a window to its parents, whatever the handles say.
constexpr int kMaxParentWalk = 32;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    HWND hwnd = msg->hwnd;
    for (int depth = 0; hwnd != nullptr && depth < kMaxParentWalk; ++depth) {
        CWnd* wnd = CWnd::FromHandle(hwnd);
        if (wnd == nullptr) return FALSE;
        if (wnd->PreTranslateMessage(msg)) return TRUE;
        hwnd = wnd->GetParentHwnd();
    }
    return FALSE;
}

bool CWinApp::MainWindowAlive() const { return m_pMainWnd != nullptr && m_pMainWnd->GetSafeHwnd() != nullptr; }

int CWinApp::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = Sys().Windows.GetMessageW(&msg);
        if (got == -1) break;
        // The quit comes when the main window is gone; one that comes while
        // it lives was posted by someone else and ends nothing.
        if (got == 0 && !MainWindowAlive()) break;
        if (got == 0 || RefusesPostedMessage(msg)) continue;
        if (PreTranslateMessage(&msg)) continue;
        Sys().Windows.DispatchMessageW(&msg);
    }
    exitCode_ = msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : -1;
    // However the loop ended, the main window's own end runs first.
    if (MainWindowAlive()) m_pMainWnd->DestroyWindow();
    return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return -1;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
