#include "app/MursohidApp.h"

#include "app/MursohidDlg.h"
#include "contract/Names.h"
#include "platform/Platform.h"

BOOL CMursohidApp::InitInstance() {
    Mutex = Sys().Kernel.CreateMutexW(kServiceMutexName);
    if (Sys().Kernel.GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another instance runs for this user: end silently.
        Sys().Kernel.CloseHandle(Mutex);
        Mutex = nullptr;
        return FALSE;
    }
    MainDialog = new CMursohidDlg();
    MainDialog->CreateServiceWindow();
    m_pMainWnd = MainDialog;
    return TRUE;
}

int CMursohidApp::ExitInstance() {
    delete MainDialog;  // closes the registry key
    MainDialog = nullptr;
    m_pMainWnd = nullptr;
    if (Mutex != nullptr) {
        Sys().Kernel.ReleaseMutex(Mutex);
        Sys().Kernel.CloseHandle(Mutex);
        Mutex = nullptr;
    }
    return CWinApp::ExitInstance();
}
