#include "app/DevicePresence.h"

#include <cstdio>

#include "actions/HeldInput.h"
#include "app/ButtonInput.h"
#include "contract/Messages.h"
#include "contract/Timers.h"
#include "contract/Names.h"
#include "app/SiblingPrograms.h"
#include "config/SettingsFile.h"
#include "device/DeviceList.h"
#include "device/DeviceSession.h"
#include "device/HidDeviceBinding.h"
#include "platform/Platform.h"

namespace {

// Between an open that found the mouse and the tray program's start.
constexpr DWORD kTrayLaunchDelayMs = 2000;
constexpr DWORD kAfterTrayLaunchMs = 50;
// After a sibling program's arrival notice, before the tray program starts.

Text MonitorLine(const char* format, DWORD deviceId) {
    char line[64];
    std::snprintf(line, sizeof line, format, static_cast<unsigned>(deviceId & 0xFFFF));
    return TextFromUtf8(line);
}

}  // namespace

const MessageMapEntry<DevicePresence> DevicePresence::kMessageMap[] = {
    OnMessage(kMsgDeviceNotification, &DevicePresence::OnDeviceNotification),
    OnWParam<&DevicePresence::OnMouseData>(kMsgMouseData),
    OnTimerId<&DevicePresence::OnTimer>(),
    OnWParam<&DevicePresence::OnDeviceChange>(WM_DEVICECHANGE),
    OnWParam<&DevicePresence::OnSessionChange>(WM_WTSSESSION_CHANGE),
};

bool DevicePresence::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

std::int32_t DevicePresence::OpenWithOwnReactions() {
    opening_ = true;
    const std::int32_t opened = device_.OpenDevice();
    opening_ = false;
    return opened;
}

std::int32_t DevicePresence::OpenAtStartup() {
    device_.SetOpen(0);
    const std::int32_t opened = OpenWithOwnReactions();
    if (opened != 0) {
        Sys().Kernel.Sleep(kTrayLaunchDelayMs);
        LaunchTrayProgram();
        Sys().Kernel.Sleep(kAfterTrayLaunchMs);
    }
    return opened;
}

// lParam is only a notice number; the record comes from the library, which
// knows every notice it sent, so no value any program posts makes the
// service read memory.
LRESULT DevicePresence::OnDeviceNotification(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
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
    const CollectionChange change = device_.ApplyCollectionNotification(wParam, &record);
    // Start-up and the console's return write "Plug" and start the tray
    // program themselves after their open.
    if (opening_) return 0;

    // The mouse arrived: its first collection is in the list.
    if (change == CollectionChange::Appended && !wasPresent) {
        WritePlug(1);
        LaunchTrayProgram();
        device_.SetOpen(1);
        PostToSibling(kConfigProgramTitle, kNotifyDeviceChanged, 0);
        device_.ProbeDevice();
    }
    // The mouse went: its last collection left the list.
    if (change == CollectionChange::Removed && DeviceList.Empty()) {
        buttons_.EndEverythingHeld();
        WritePlug(0);
        CloseTrayProgram();
        NotifyMouseRemoved();
        PostToSibling(kConfigProgramTitle, kNotifyDeviceChanged, 0);
    }
    return 0;
}

// The mouse is not opened here; the next device command's guard and the
// library's notifications do that.
LRESULT DevicePresence::OnMouseData(WPARAM wParam, BOOL&) {
    char line[64];
    std::snprintf(line, sizeof line, "\t\tOnMouseData ReadData:%llX\n", static_cast<unsigned long long>(wParam));
    Sys().Kernel.OutputDebugStringW(TextFromUtf8(line));
    if (wParam == kMouseArrived) {
        // The settle time runs on a timer, so the window goes on answering;
        // notices that come meanwhile join the pending one.
        if (!arrivalPending_) {
            arrivalPending_ = true;
            Sys().Windows.SetTimer(window_, kArrivalSettleTimerId, kArrivalSettleMs);
        }
    } else if (wParam == kMouseRemoved) {
        CancelArrival();
        buttons_.EndEverythingHeld();
        CloseTrayProgram();
        NotifyMouseRemoved();
        WritePlug(0);
        Sys().Kernel.OutputDebugStringW(u"remove usb mouse");
    }
    return 0;
}

void DevicePresence::OnTimer(UINT_PTR id, BOOL& handled) {
    handled = FALSE;  // every tick goes on to default processing
    // A tick that another program posted, with no arrival pending, does nothing.
    if (id != kArrivalSettleTimerId || !arrivalPending_) return;
    CancelArrival();
    LaunchTrayProgram();
    WritePlug(1);
    Sys().Kernel.OutputDebugStringW(u"arrive new device");
}

void DevicePresence::CancelArrival() {
    if (!arrivalPending_) return;
    arrivalPending_ = false;
    Sys().Windows.KillTimer(window_, kArrivalSettleTimerId);
}

LRESULT DevicePresence::OnDeviceChange(WPARAM, BOOL&) { return TRUE; }

// The service does not register for session changes itself; it reacts
// whenever one comes.
LRESULT DevicePresence::OnSessionChange(WPARAM wParam, BOOL&) {
    if (wParam == kConsoleConnected) {
        if (OpenWithOwnReactions() == 0) return 0;
        Sys().Kernel.Sleep(kTrayLaunchDelayMs);
        LaunchTrayProgram();
        WritePlug(1);
    } else if (wParam == kConsoleDisconnected) {
        // The mouse is released and counts as absent, so the tray program
        // goes as when the mouse is removed: the connect starts it again.
        // DeviceOpen and the collection list stay as they are.
        WritePlug(0);
        // The close waits for the input thread: a macro playing there ends
        // after its event in progress.
        BarMacros(true);
        device_.CloseDevice();
        buttons_.EndEverythingHeld();
        BarMacros(false);
        CloseTrayProgram();
    }
    return 0;
}
