// Every window message and thread message the service receives or posts,
// one name per number and direction. Received messages are kMsg..., posted
// ones kNotify..., thread messages of the macro worker kThreadMsg...
// Plain integers: they convert to UINT, WPARAM and LPARAM unchanged.
#pragma once

#include <cstdint>

// --- received by the main window ---
// Collection notification from the HID library (wParam 1, lParam a notice number).
constexpr std::uint32_t kMsgDeviceNotification = 0x502;
// Answer the mouse's current resolution stage with kNotifyStage.
constexpr std::uint32_t kMsgReadStage = 0x4D6;
// Write the whole active profile into the mouse, then post kNotifyFullWriteDone.
constexpr std::uint32_t kMsgFullWrite = 0x4DE;
// Report-rate index in wParam.
constexpr std::uint32_t kMsgSetPollingRate = 0x4DF;
// Lift-off level in wParam.
constexpr std::uint32_t kMsgSetLiftOff = 0x4E2;
// Resolution stage to select in wParam, after the stages.
constexpr std::uint32_t kMsgWriteStages = 0x4E3;
// State byte in wParam.
constexpr std::uint32_t kMsgSetStateByte = 0x4E4;
// Logo light value in wParam.
constexpr std::uint32_t kMsgSetLogoLight = 0x4E5;
// Universal scroll 0 or 1 in wParam.
constexpr std::uint32_t kMsgSetUniversalScroll = 0x4E6;
// Accepted and ignored.
constexpr std::uint32_t kMsgNoAction = 0x504;
// Adopt the settings read back from the mouse, then post kNotifyDeviceImageAdopted.
constexpr std::uint32_t kMsgAdoptDeviceImage = 0x672;
// Reload the settings file.
constexpr std::uint32_t kMsgReloadSettings = 0x677;
// Mouse arrival (wParam kMouseArrived) or removal (kMouseRemoved).
constexpr std::uint32_t kMsgMouseData = 0x7EB;
constexpr std::uintptr_t kMouseArrived = 0xFFFE;
constexpr std::uintptr_t kMouseRemoved = 0xFFFD;
// wParam of WM_WTSSESSION_CHANGE: console connected or disconnected.
constexpr std::uintptr_t kConsoleConnected = 1;
constexpr std::uintptr_t kConsoleDisconnected = 2;

// --- posted to the sibling programs (lParam 0) ---
// To the configuration program, with two meanings by sender: the foreground
// watch switched the active profile (wParam: its index 0 to 5), or a button
// of the macro-notify function was pressed (wParam: the button index 0 to 9).
constexpr std::uint32_t kNotifyProfileOrMacroButton = 0x4D5;
// To the configuration program: a resolution stage (wParam), in answer to
// kMsgReadStage or after a button changed the stage.
constexpr std::uint32_t kNotifyStage = 0x4D6;
// To the configuration program: the mouse was removed.
constexpr std::uint32_t kNotifyMouseRemoved = 0x4DD;
// To the configuration program: the mouse arrived or went (see "Plug").
constexpr std::uint32_t kNotifyDeviceChanged = 0x4E0;
// To the configuration program: the full write has finished.
constexpr std::uint32_t kNotifyFullWriteDone = 0x4E1;
// To the read-back program: what the mouse holds differs from the settings.
constexpr std::uint32_t kNotifyDeviceImageDiffers = 0x671;
// To the read-back program: the mouse's settings were adopted.
constexpr std::uint32_t kNotifyDeviceImageAdopted = 0x673;

// --- thread messages to the macro worker (wParam 0, lParam the button index 0 to 9) ---
// Repeat passes while MacroRunFlag is not 0 (until the button is pressed again).
constexpr std::uint32_t kThreadMsgMacroRepeatUntilPressed = 0x3422;
// Repeat passes until MacroRunFlag is 1 (released), then set it back to 0.
constexpr std::uint32_t kThreadMsgMacroRepeatWhileHeld = 0x3423;
