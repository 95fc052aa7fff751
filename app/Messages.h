// Every window message, thread message and timer the service exchanges.
#pragma once

#include "platform/WinTypes.h"

// --- timers of the main window ---
// Foreground watch, every 2 s.
constexpr UINT_PTR kPeriodicTimerId = 1;
constexpr UINT kPeriodicTimerMs = 2000;
// The read-back chain: one step per tick, in this order. Nothing in the
// service arms the first; each step arms the next.
constexpr UINT_PTR kReadBackStep1TimerId = 515;
constexpr UINT_PTR kReadBackStep2TimerId = 513;
constexpr UINT_PTR kReadBackStep3TimerId = 516;
constexpr UINT_PTR kReadBackStep4TimerId = 514;
constexpr UINT_PTR kReadBackStep5TimerId = 517;
constexpr UINT kReadBackStepMs = 100;

// --- received by the main window ---
// Collection notification from the HID library (wParam 1, lParam a notice number).
constexpr UINT kMsgDeviceNotification = 0x502;
// Answer the mouse's current resolution stage with 0x4D6.
constexpr UINT kMsgReadStage = 0x4D6;
// Write the whole active profile into the mouse, then post 0x4E1.
constexpr UINT kMsgFullWrite = 0x4DE;
// Report-rate index in wParam.
constexpr UINT kMsgSetPollingRate = 0x4DF;
// Lift-off level in wParam.
constexpr UINT kMsgSetLiftOff = 0x4E2;
// Resolution stage to select in wParam, after the stages.
constexpr UINT kMsgWriteStages = 0x4E3;
// State byte in wParam.
constexpr UINT kMsgSetStateByte = 0x4E4;
// Logo light value in wParam.
constexpr UINT kMsgSetLogoLight = 0x4E5;
// Universal scroll 0 or 1 in wParam.
constexpr UINT kMsgSetUniversalScroll = 0x4E6;
// Accepted and ignored.
constexpr UINT kMsgNoAction = 0x504;
// Adopt the settings read back from the mouse, then post 0x673.
constexpr UINT kMsgAdoptDeviceImage = 0x672;
// Reload the settings file.
constexpr UINT kMsgReloadSettings = 0x677;
// Mouse arrival (wParam 0xFFFE) or removal (0xFFFD).
constexpr UINT kMsgMouseData = 0x7EB;
constexpr WPARAM kMouseArrived = 0xFFFE;
constexpr WPARAM kMouseRemoved = 0xFFFD;
// WM_WTSSESSION_CHANGE: console connected (1) or disconnected (2).
constexpr WPARAM kConsoleConnected = 1;
constexpr WPARAM kConsoleDisconnected = 2;

// --- posted to the sibling programs (lParam 0) ---
// To the configuration program: the active profile switched (wParam: its index).
constexpr UINT kNotifyProfileSwitched = 0x4D5;
// To the configuration program: the mouse's resolution stage (wParam).
constexpr UINT kNotifyStage = 0x4D6;
// To the configuration program: the mouse was removed.
constexpr UINT kNotifyMouseRemoved = 0x4DD;
// To the configuration program: the mouse arrived or went (see "Plug").
constexpr UINT kNotifyDeviceChanged = 0x4E0;
// To the configuration program: the full write has finished.
constexpr UINT kNotifyFullWriteDone = 0x4E1;
// To the read-back program: what the mouse holds differs from the settings.
constexpr UINT kNotifyDeviceImageDiffers = 0x671;
// To the read-back program: the mouse's settings were adopted.
constexpr UINT kNotifyDeviceImageAdopted = 0x673;
