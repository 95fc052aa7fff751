// The application object: one per process. AfxWinMain runs InitInstance,
// the message loop while it succeeded, and ExitInstance.
#pragma once

#include "platform/WinTypes.h"

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // Default: the exit code carried by the quit message.
    virtual int ExitInstance() { return exitCode_; }
    // Runs the message loop until the quit message; returns ExitInstance().
    virtual int Run();
    // Offers a message to its window and that window's parents before it is
    // dispatched; true when one of them dealt with it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    CWnd* m_pMainWnd = nullptr;

protected:
    // The main window exists and has not been destroyed.
    bool MainWindowAlive() const;
    int exitCode_ = 0;
};

CWinApp* AfxGetApp();
// The framework's entry: what the process returns.
int AfxWinMain();
