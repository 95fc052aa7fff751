// The small decisions the dispatcher makes on the function codes
// (contract/FunctionCodes.h).
#pragma once

#include <cstdint>

#include "contract/FunctionCodes.h"
#include "platform/Platform.h"

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
