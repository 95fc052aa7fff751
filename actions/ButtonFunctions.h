// The functions a mouse button can be assigned (ButtonFunc of a button's
// assignment), and the small decisions the dispatcher makes on them.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

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
    MediaPlayPause = 24,
    VolumeUp = 25,
    VolumeDown = 26,
    MediaNextTrack = 27,
    MediaPreviousTrack = 28,
    DpiCycleUp = 29,
    DpiCycleDown = 30,
    Macro = 44,
    LaunchProgram = 47,
    DpiClutchToggle = 64,
    VolumeMute = 71,
    KeyboardKey = 72,
    MacroOnce = 73,
    MacroNotify = 75,
    Unassigned = 255,
};

// The mouse event of a mouse-button function going down and coming up.
struct MouseButtonEvents {
    ButtonFunctionCode Code;
    DWORD DownFlags;
    DWORD UpFlags;
    DWORD Data;
};

constexpr MouseButtonEvents kMouseButtonEvents[] = {
    {ButtonFunctionCode::LeftButton, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
    {ButtonFunctionCode::MiddleButton, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0},
    {ButtonFunctionCode::RightButton, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0},
    {ButtonFunctionCode::XButton1, MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1},
    {ButtonFunctionCode::XButton2, MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2},
};

// The stage index a stepping function selects from stage `current`, before
// the mouse limits it: the stage functions step through all five stages and
// stop at the ends (the mouse holds the limit), the cycle functions wrap
// round stages 1 to 4 (indices 0 to 3). Any other code leaves it.
constexpr int NextResolutionStage(ButtonFunctionCode code, int current) {
    switch (code) {
        case ButtonFunctionCode::DpiStageUp: return current + 1;
        case ButtonFunctionCode::DpiStageDown: return current - 1;
        case ButtonFunctionCode::DpiCycleUp: return current == 3 ? 0 : current + 1;
        case ButtonFunctionCode::DpiCycleDown: return current == 0 ? 3 : current - 1;
        default: return current;
    }
}

// Macro play modes, from ButtonID of a Macro button.
constexpr std::int32_t kMacroRepeatUntilPressed = 0;
constexpr std::int32_t kMacroRepeatWhileHeld = 0xFFFF;
constexpr std::int32_t kMacroMostPasses = 0xFFFE;
