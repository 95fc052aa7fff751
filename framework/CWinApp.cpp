#include "framework/CWinApp.h"

#include "framework/CWnd.h"
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

int CWinApp::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = Sys().Windows.GetMessageW(&msg);
        if (got == 0 || got == -1) break;
        if (PreTranslateMessage(&msg)) continue;
        Sys().Windows.DispatchMessageW(&msg);
    }
    exitCode_ = static_cast<int>(msg.wParam);
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
