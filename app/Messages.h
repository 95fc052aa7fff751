// Every window message, thread message and timer the service exchanges.
#pragma once

#include "platform/WinTypes.h"

// Timer of the main window: foreground watch and periodic work, every 2 s.
constexpr UINT_PTR kPeriodicTimerId = 1;
constexpr UINT kPeriodicTimerMs = 2000;

// Collection notification from the HID library (wParam 1, lParam -> _DEVICE_STATE).
constexpr UINT kMsgDeviceNotification = 0x502;

// Full write: the configuration program asks for the whole active profile
// to be written into the mouse (behind the progress dialog), and hears when
// it is done.
constexpr UINT kMsgFullWrite = 0x4DE;
constexpr UINT kMsgFullWriteDone = 0x4E1;
