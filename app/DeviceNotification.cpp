// Message 0x502: the library announces a collection that opened or closed.
// lParam is only a notice number; the record comes from the library, which
// knows every notice it sent, so no value any program posts makes the
// service read memory.
#include <cstdio>

#include "app/MainWindowState.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "app/ServiceNames.h"
#include "config/SettingsFile.h"
#include "device/DeviceList.h"
#include "device/HidDeviceBinding.h"

namespace {

Text MonitorLine(const char* format, DWORD deviceId) {
    char line[64];
    std::snprintf(line, sizeof line, format, static_cast<unsigned>(deviceId & 0xFFFF));
    return TextFromUtf8(line);
}

}  // namespace

LRESULT CMursohidDlg::OnDeviceNotification(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = FALSE;  // looked at here, then default processing
    if (wParam != kCollectionNotification) return 0;
    _DEVICE_STATE record{};
    if (!HidReadNotice(lParam, &record)) return 0;
    if (record.State != kCollectionOpened && record.State != kCollectionClosed) return 0;

    const bool opened = record.State == kCollectionOpened;
    Sys().Kernel.OutputDebugStringW(
        MonitorLine(opened ? "MONITOROPEN:dwDeviceID=%x\n" : "MONITORCLOSE:dwDeviceID=%x\n", record.DeviceId));
    CurrentDeviceId.store(record.DeviceId & 0xFFFF);

    const bool wasPresent = !DeviceList.Empty();
    const CollectionChange change = state_->Device.ApplyCollectionNotification(wParam, &record);
    // Start-up and the console's return write "Plug" and start the tray
    // program themselves after their open.
    if (state_->OpeningDevice) return 0;

    // The mouse arrived: its first collection is in the list.
    if (change == CollectionChange::Appended && !wasPresent) {
        WritePlug(1);
        LaunchTrayProgram();
        state_->Device.SetOpen(1);
        PostToSibling(kConfigProgramTitle, kNotifyDeviceChanged, 0);
        state_->Device.ProbeDevice();
    }
    // The mouse went: its last collection left the list.
    if (change == CollectionChange::Removed && DeviceList.Empty()) {
        WritePlug(0);
        CloseTrayProgram();
        NotifyMouseRemoved();
        PostToSibling(kConfigProgramTitle, kNotifyDeviceChanged, 0);
    }
    return 0;
}
