// Whether the mouse is there, and what follows when it comes or goes: the
// library's collection notifications (0x502), a sibling program's arrival
// and removal notices (0x7EB), the console connecting and disconnecting,
// the "Plug" value, the tray program and the configuration program's
// notices. Opening the mouse at start-up and on the console's return also
// lives here.
#pragma once

#include <cstdint>

#include "framework/MessageMap.h"

class ButtonInput;
class DeviceSession;

class DevicePresence {
public:
    DevicePresence(DeviceSession& device, ButtonInput& buttons) : device_(device), buttons_(buttons) {}

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The main window, which the arrival's settle timer is set on.
    void SetWindow(HWND window) { window_ = window; }

    // Start-up's open: opens the mouse and, when it opened, starts the tray
    // program after the library's settle time. The notifications of this
    // open only keep the list; the caller writes "Plug". Nonzero when open.
    std::int32_t OpenAtStartup();

private:
    // The library's collection notification: the list is kept up to date,
    // then the message goes on to default processing.
    LRESULT OnDeviceNotification(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // 0x7EB: the mouse arrived or was removed, as a sibling program saw it.
    LRESULT OnMouseData(WPARAM wParam, BOOL& handled);
    LRESULT OnDeviceChange(WPARAM wParam, BOOL& handled);
    // The arrival's settle time ended: the tray program starts, "Plug" is 1.
    void OnTimer(UINT_PTR id, BOOL& handled);
    void CancelArrival();
    // The user's console connected or disconnected.
    LRESULT OnSessionChange(WPARAM wParam, BOOL& handled);
    static const MessageMapEntry<DevicePresence> kMessageMap[];

    // Opens the mouse for a caller that writes "Plug" and starts the tray
    // program itself: the notifications of this open only keep the list.
    std::int32_t OpenWithOwnReactions();

    DeviceSession& device_;
    // What the buttons hold ends when the mouse goes.
    ButtonInput& buttons_;
    // True while start-up or a console connect opens the mouse (main thread).
    bool opening_ = false;
    HWND window_ = nullptr;
    // An arrival notice waits for its settle time (main thread).
    bool arrivalPending_ = false;
};
