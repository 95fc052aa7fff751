// Message 0x502: the library announces a collection that opened or closed.
#include <cstdio>

#include "app/MainWindowState.h"
#include "app/MursohidDlg.h"

namespace {

Text MonitorLine(const char* format, LPARAM lParam) {
    char line[64];
    std::snprintf(line, sizeof line, format,
                  static_cast<unsigned>((static_cast<std::uintptr_t>(lParam) >> 16) & 0xFFFF));
    return TextFromUtf8(line);
}

}  // namespace

LRESULT CMursohidDlg::OnDeviceNotification(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = FALSE;  // looked at here, then default processing
    if (wParam != kCollectionNotification || lParam == 0) return 0;
    const _DEVICE_STATE record = *reinterpret_cast<const _DEVICE_STATE*>(lParam);
    if (record.State == kCollectionOpened)
        Sys().Kernel.OutputDebugStringW(MonitorLine("MONITOROPEN:dwDeviceID=%x\n", lParam));
    else if (record.State == kCollectionClosed)
        Sys().Kernel.OutputDebugStringW(MonitorLine("MONITORCLOSE:dwDeviceID=%x\n", lParam));
    state_->Device.ApplyCollectionNotification(wParam, &record);
    return 0;
}
