// Message 0x4DE: the whole active profile goes into the mouse behind the
// progress dialog, and the configuration program hears 0x4E1 when it is done.
#include <memory>

#include "app/MainWindowState.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "app/ServiceNames.h"
#include "ui/PaintingWait.h"
#include "ui/ProgressDialogRules.h"
#include "ui/ProgressDlg.h"

namespace {

constexpr DWORD kAfterFullProgressMs = 50;

// Puts the dialog in front of whatever program has the foreground. A program
// in the background may not take the foreground by itself; sharing the
// foreground thread's input for that moment lets it.
void BringToFront(HWND dialog, HWND mainWindow) {
    WindowServices& windows = Sys().Windows;
    HWND front = windows.GetForegroundWindow();
    const DWORD frontThread = windows.GetWindowThreadProcessId(front);
    const DWORD ownThread = windows.GetWindowThreadProcessId(mainWindow);
    windows.AttachThreadInput(frontThread, ownThread, TRUE);
    windows.SetForegroundWindow(dialog);
    windows.AttachThreadInput(frontThread, ownThread, FALSE);
}

}  // namespace

LRESULT CMursohidDlg::OnFullWrite(UINT, WPARAM, LPARAM, BOOL&) {
    WindowServices& windows = Sys().Windows;
    auto dialog = std::make_unique<CProgressDlg>();
    HWND shown = nullptr;
    if (dialog->Create(this)) {
        state_->Progress = dialog.get();
        shown = dialog->GetSafeHwnd();
        const int screenWidth = windows.GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = windows.GetSystemMetrics(SM_CYSCREEN);
        const ScreenPoint at =
            CentredOnScreen(screenWidth, screenHeight, dialog->GetSkinWidth(), dialog->GetSkinHeight());
        windows.SetWindowPos(shown, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE);
        windows.SetWindowTextW(shown, kProgressDialogTitle);
        dialog->SetProgress(kProgressMinimum);
        windows.ShowWindow(shown, SW_SHOW);
        BringToFront(shown, m_hWnd);
    }

    ReloadSettings();
    // The write blocks this thread for seconds: its waits keep the dialog
    // painted, and every other message waits for the end, in order.
    if (shown != nullptr) state_->Device.SetWait([shown](DWORD ms) { WaitWhilePainting(shown, ms); });
    state_->Device.ApplyProfileToDevice(state_->Settings.ActiveProfile(), state_->Progress);
    state_->Device.SetWait({});

    if (shown != nullptr) {
        dialog->SetProgress(kProgressMaximum);
        WaitWhilePainting(shown, kAfterFullProgressMs);
        windows.ShowWindow(shown, SW_HIDE);
        dialog->DestroyWindow();
    } else {
        Sys().Kernel.Sleep(kAfterFullProgressMs);
    }
    dialog.reset();
    state_->Progress = nullptr;

    if (HWND config = windows.FindWindowW(Text(), kConfigProgramTitle))
        windows.PostMessageW(config, kNotifyFullWriteDone, 0, 0);
    return 0;
}
