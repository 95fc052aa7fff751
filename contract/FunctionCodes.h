// The functions a mouse button can be assigned: ButtonFunc of a button's
// assignment in the settings file, the one name of every function code.
#pragma once

#include <cstdint>

enum class ButtonFunctionCode : std::uint8_t {
    LeftButton = 1,
    MiddleButton = 2,
    RightButton = 3,
    XButton1 = 4,
    XButton2 = 5,
    DpiClutch = 6,
    DpiStageUp = 7,
    DpiStageDown = 8,
    WheelUp = 9,
    WheelDown = 10,
    DoubleClick = 11,
    // Only a read-back yields these four; nothing writes them and the
    // dispatcher does nothing for them.
    ReadBackOnly14 = 14,
    ReadBackOnly15 = 15,
    ReadBackOnly16 = 16,
    ReadBackOnly17 = 17,
    MediaPlayPause = 24,
    VolumeUp = 25,
    VolumeDown = 26,
    MediaNextTrack = 27,
    MediaPreviousTrack = 28,
    DpiCycleUp = 29,
    DpiCycleDown = 30,
    // Carried out by the mouse alone once its code is written; the
    // dispatcher does nothing for them.
    MouseOnly34 = 34,
    MouseOnly35 = 35,
    MouseOnly36 = 36,
    MouseOnly37 = 37,
    MouseOnly38 = 38,
    MouseOnly39 = 39,
    Macro = 44,
    LaunchProgram = 47,
    MouseOnly49 = 49,
    MouseOnly52 = 52,
    MouseOnly53 = 53,
    MouseOnly54 = 54,
    MouseOnly55 = 55,
    MouseOnly56 = 56,
    MouseOnly61 = 61,
    MouseOnly62 = 62,
    MouseOnly63 = 63,
    DpiClutchToggle = 64,
    VolumeMute = 71,
    KeyboardKey = 72,
    MacroOnce = 73,
    MacroNotify = 75,
    Unassigned = 255,
};

// The byte the settings keep for a function.
constexpr std::uint8_t FunctionByte(ButtonFunctionCode code) { return static_cast<std::uint8_t>(code); }

// Macro play modes: ButtonID of a Macro button.
constexpr std::int32_t kMacroRepeatUntilPressed = 0;
constexpr std::int32_t kMacroRepeatWhileHeld = 0xFFFF;
constexpr std::int32_t kMacroMostPasses = 0xFFFE;  // 1 to this: that many passes
