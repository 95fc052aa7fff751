// The application object: the single-instance guard and the main window.
#pragma once

#include "framework/CWinApp.h"

class CMursohidDlg;

class CMursohidApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

    HANDLE Mutex = nullptr;
    CMursohidDlg* MainDialog = nullptr;
};
