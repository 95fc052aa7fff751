// Message 0x7EB: the mouse arrived or was removed, as a sibling program saw it.
// The mouse is not opened here; the next device command's guard and the
// library's notifications do that.
#include <cstdio>

#include "app/MainWindowState.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "config/SettingsFile.h"

namespace {
constexpr DWORD kArrivalSettleMs = 5000;
}  // namespace

LRESULT CMursohidDlg::OnMouseData(UINT, WPARAM wParam, LPARAM, BOOL&) {
    char line[64];
    std::snprintf(line, sizeof line, "\t\tOnMouseData ReadData:%llX\n", static_cast<unsigned long long>(wParam));
    Sys().Kernel.OutputDebugStringW(TextFromUtf8(line));
    if (wParam == kMouseArrived) {
        Sys().Kernel.Sleep(kArrivalSettleMs);
        LaunchTrayProgram();
        WritePlug(1);
        Sys().Kernel.OutputDebugStringW(u"arrive new device");
    } else if (wParam == kMouseRemoved) {
        CloseTrayProgram();
        NotifyMouseRemoved();
        WritePlug(0);
        Sys().Kernel.OutputDebugStringW(u"remove usb mouse");
    }
    return 0;
}
