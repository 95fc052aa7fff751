// The main window's part of the device link: opening and closing the mouse,
// the list handling of the library's collection notification, the device
// commands on the window's settings, and the input callback that reaches the
// window through MainWindow.
#include <cstdio>

#include "actions/MouseFunction.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "app/ProcessState.h"
#include "config/SettingsValidation.h"
#include "config/SettingsFile.h"
#include "device/DeviceCommands.h"
#include "device/DeviceList.h"
#include "device/InputHandling.h"
#include "device/ReadBackCollector.h"
#include "platform/Platform.h"

namespace {

// The input callback's routing targets for one report.
class MainWindowRoutes final : public InputRoutes {
public:
    explicit MainWindowRoutes(CMursohidDlg& window) : window_(window) {}
    void ButtonPressed(int index) override { window_.ButtonPressed(index); }
    void ButtonReleased(int index) override { window_.ButtonReleased(index); }
    void LaunchAssignedProgram(int index) override { window_.LaunchAssignedProgram(index); }
    void SendWheelUp() override { mouse_.SendWheelUp(); }
    void SendWheelDown() override { mouse_.SendWheelDown(); }
    void ScrollUnderPointer(int count) override { mouse_.ScrollUnderPointer(count); }
    void ZoomIn() override { window_.ZoomIn(); }
    void ZoomOut() override { window_.ZoomOut(); }

private:
    CMursohidDlg& window_;
    CMouseFunction mouse_;  // made for this report, gone when it is handled
};

// Registered with the library; runs on the library's thread.
void HID_CALLBACK InputCallback(DWORD identifier, const BYTE* report, DWORD length) {
    CMursohidDlg* window = MainWindow.load();
    if (window == nullptr) {
        HandleInputReport(InputContext{}, identifier, report, length);
        return;
    }
    MainWindowRoutes routes(*window);
    HandleInputReport(InputContext{&routes, &window->ShortReadBusy, &window->BulkReadBusy}, identifier,
                      report, length);
}

Text MonitorLine(const char* format, LPARAM lParam) {
    char line[64];
    std::snprintf(line, sizeof line, format,
                  static_cast<unsigned>((static_cast<std::uintptr_t>(lParam) >> 16) & 0xFFFF));
    return TextFromUtf8(line);
}

}  // namespace

DeviceLink CMursohidDlg::Link() {
    return DeviceLink{m_hWnd, kMsgDeviceNotification, &InputCallback, &DeviceOpen, &ShortReadBusy, &BulkReadBusy};
}

std::int32_t CMursohidDlg::OpenDevice() { return ::OpenDevice(Link()); }
std::int32_t CMursohidDlg::CloseDevice() { return ::CloseDevice(Link()); }
std::int32_t CMursohidDlg::SetStateByte(std::int32_t value) { return ::SetStateByte(Link(), value); }

void CMursohidDlg::OnDeviceNotification(WPARAM wParam, LPARAM lParam) {
    if (wParam != kCollectionNotification || lParam == 0) return;
    const _DEVICE_STATE record = *reinterpret_cast<const _DEVICE_STATE*>(lParam);
    if (record.State == kCollectionOpened)
        Sys().OutputDebugStringW(MonitorLine("MONITOROPEN:dwDeviceID=%x\n", lParam));
    else if (record.State == kCollectionClosed)
        Sys().OutputDebugStringW(MonitorLine("MONITORCLOSE:dwDeviceID=%x\n", lParam));
    // A collection going away (the mouse unplugged) takes the answers of a
    // pending read-back with it.
    if (record.State == kCollectionClosed) CancelReadBack(Link());
    ApplyCollectionNotification(wParam, &record, DeviceOpen);
}

std::int32_t CMursohidDlg::SetPollingRate(std::int32_t rateIndex) {
    ReloadSettings();
    // The rate goes into the settings file only when the mouse is there.
    return ::SetPollingRate(Link(), rateIndex, &WritePollingRate);
}

std::int32_t CMursohidDlg::WriteButtonTable() {
    const ProfileRecord profile = ActiveProfileCopy();
    return ::WriteButtonTable(Link(), profile);
}

std::int32_t CMursohidDlg::WriteResolutionStages(std::int32_t stage) {
    const ProfileRecord profile = ActiveProfileCopy();
    return ::WriteResolutionStages(Link(), profile, stage);
}

std::int32_t CMursohidDlg::SetUniversalScroll() {
    const ProfileRecord profile = ActiveProfileCopy();
    return ::SetUniversalScroll(Link(), profile);
}

std::int32_t CMursohidDlg::SetLiftOff(std::int32_t value) { return ::SetLiftOff(Link(), value); }

std::int32_t CMursohidDlg::SelectResolutionStage(std::int32_t stage) {
    return ::SelectResolutionStage(Link(), stage);
}

std::int32_t CMursohidDlg::SetLogoLight() {
    const ProfileRecord profile = ActiveProfileCopy();
    return ::SetLogoLight(Link(), profile);
}

bool CMursohidDlg::ProbeDevice() { return ::ProbeDevice(); }
std::int32_t CMursohidDlg::ReadBackQuery() { return ::ReadBackQuery(Link()); }
std::int32_t CMursohidDlg::RequestReadBack() { return ::RequestReadBack(Link(), ShortReadBusy); }
std::int32_t CMursohidDlg::ReadResolutionStage() { return ::ReadResolutionStage(Link()); }

ReadBackState CMursohidDlg::ShortReadBackState() { return ReadBack.ShortState(ShortReadBusy, Sys().GetTickCount()); }

std::int32_t CMursohidDlg::ApplyProfileToDevice(ProgressSink* progress) {
    const ProfileRecord profile = ActiveProfileCopy();
    return ::ApplyProfileToDevice(Link(), profile, progress);
}
