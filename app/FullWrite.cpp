#include "app/FullWrite.h"

#include <memory>

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "contract/Names.h"
#include "app/SiblingPrograms.h"
#include "app/WriteGate.h"
#include "config/SettingsStore.h"
#include "device/DeviceSession.h"
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

// Shows the dialog centred on the screen, topmost, at the first position;
// null when it could not be made (the write then goes on without it).
HWND ShowProgress(CProgressDlg& dialog, CWnd& owner) {
    WindowServices& windows = Sys().Windows;
    if (!dialog.Create(&owner)) return nullptr;
    HWND shown = dialog.GetSafeHwnd();
    const int screenWidth = windows.GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = windows.GetSystemMetrics(SM_CYSCREEN);
    const ScreenPoint at = CentredOnScreen(screenWidth, screenHeight, dialog.GetSkinWidth(), dialog.GetSkinHeight());
    windows.SetWindowPos(shown, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE);
    windows.SetWindowTextW(shown, kProgressDialogTitle);
    dialog.SetProgress(kProgressMinimum);
    windows.ShowWindow(shown, SW_SHOW);
    BringToFront(shown, owner.GetSafeHwnd());
    return shown;
}

}  // namespace

const MessageMapEntry<FullWrite> FullWrite::kMessageMap[] = {
    OnWParam<&FullWrite::OnFullWrite>(kMsgFullWrite),
};

bool FullWrite::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

LRESULT FullWrite::OnFullWrite(WPARAM, BOOL&) {
    gate_.Begin();
    auto dialog = std::make_unique<CProgressDlg>();
    HWND shown = ShowProgress(*dialog, owner_);

    settings_.ReloadSettings();
    // The write blocks this thread for seconds: its waits keep the dialog
    // painted, and every other message waits for the end, in order.
    if (shown != nullptr) device_.SetWait([shown](DWORD ms) { WaitWhilePainting(shown, ms); });
    device_.ApplyProfileToDevice(settings_.ActiveProfile(), shown != nullptr ? dialog.get() : nullptr);
    device_.SetWait({});

    if (shown != nullptr) {
        dialog->SetProgress(kProgressMaximum);
        WaitWhilePainting(shown, kAfterFullProgressMs);
        Sys().Windows.ShowWindow(shown, SW_HIDE);
        dialog->DestroyWindow();
    } else {
        Sys().Kernel.Sleep(kAfterFullProgressMs);
    }
    dialog.reset();

    PostToSibling(kConfigProgramTitle, kNotifyFullWriteDone, 0);
    // What came during the write, in the order it came.
    HWND window = owner_.GetSafeHwnd();
    gate_.End([window](const KeptMessage& m) { Sys().Windows.SendMessageW(window, m.Message, m.WParam, m.LParam); });
    return 0;
}
