// The main window's device operations. Placeholders until the device link lands.
#include "app/MursohidDlg.h"

std::int32_t CMursohidDlg::OpenDevice() { return 0; }
std::int32_t CMursohidDlg::CloseDevice() { return 1; }
std::int32_t CMursohidDlg::SetStateByte(std::int32_t) { return 0; }
void CMursohidDlg::OnDeviceNotification(WPARAM, LPARAM) {}
