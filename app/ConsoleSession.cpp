// WM_WTSSESSION_CHANGE: the user's console connected or disconnected. The
// service does not register for these itself; it reacts whenever one comes.
#include "app/MainWindowState.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "config/SettingsFile.h"

namespace {
constexpr DWORD kTrayLaunchDelayMs = 2000;
}  // namespace

LRESULT CMursohidDlg::OnSessionChange(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (wParam == kConsoleConnected) {
        if (OpenDeviceWithOwnReactions() == 0) return 0;
        Sys().Kernel.Sleep(kTrayLaunchDelayMs);
        LaunchTrayProgram();
        WritePlug(1);
    } else if (wParam == kConsoleDisconnected) {
        // The mouse is released and counts as absent, so the tray program
        // goes as when the mouse is removed: the connect starts it again.
        // DeviceOpen and the collection list stay as they are.
        WritePlug(0);
        state_->Device.CloseDevice();
        CloseTrayProgram();
    }
    return 0;
}
