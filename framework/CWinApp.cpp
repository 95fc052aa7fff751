#include "framework/CWinApp.h"

#include "framework/CWnd.h"
#include "platform/Platform.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = Sys().Windows.GetMessageW(&msg);
        if (got == 0 || got == -1) break;
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
