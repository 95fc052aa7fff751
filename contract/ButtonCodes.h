// The button codes of the mouse's button table in both directions, one row
// per function: the 4 bytes the service writes for it, and the rule by which
// a read-back entry (type t = byte 0, function f = byte 1, code c = byte 3)
// is read as it. The two directions do not agree for every function (some
// are written one way and read back as another, some are never written,
// some never read back); the round-trip test lists each such function.
#pragma once

#include <array>
#include <cstdint>

#include "contract/FunctionCodes.h"

// What fills the written code's variable byte.
enum class CodeFill : std::uint8_t {
    Fixed,        // the four bytes as listed
    ButtonIndex,  // byte 3 = the button's index 0..9
    KeyNumber,    // byte 1 = the button's KeyNumber
    NotWritten    // no code of its own: written as 00 00 00 00
};

// How a read-back entry is matched.
enum class CodeMatch : std::uint8_t {
    Never,           // never read back
    Function,        // f equals
    TypeAndFunction, // t and f equal
    TypeAndCode,     // t and c equal
    TypeAndCodeFrom, // t equals and c at least
    Type             // t equals
};

struct ButtonCodeRow {
    ButtonFunctionCode Function;
    std::uint8_t Code[4];  // written
    CodeFill Fill;
    CodeMatch Match;       // read back
    std::uint8_t Type;
    std::uint8_t Value;    // f or c, as the match says
};

// Rows that are read back come first, in the order their rules are tried:
// the first rule that applies decides. Codes 04 00 00 xx carry a
// consumer-control usage (CD play/pause, B5 next, B6 previous, E9 volume
// up, EA volume down, E2 mute).
constexpr ButtonCodeRow kButtonCodeRows[] = {
    {ButtonFunctionCode::LeftButton, {0x02, 0xF0, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Function, 0, 0xF0},
    {ButtonFunctionCode::RightButton, {0x02, 0xF1, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Function, 0, 0xF1},
    {ButtonFunctionCode::MiddleButton, {0x02, 0xF2, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Function, 0, 0xF2},
    {ButtonFunctionCode::XButton1, {0x02, 0xF8, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Function, 0, 0xF3},
    {ButtonFunctionCode::XButton2, {0x02, 0xF9, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Function, 0, 0xF4},
    {ButtonFunctionCode::ReadBackOnly16, {0, 0, 0, 0}, CodeFill::NotWritten, CodeMatch::Function, 0, 0xF5},
    {ButtonFunctionCode::ReadBackOnly17, {0, 0, 0, 0}, CodeFill::NotWritten, CodeMatch::Function, 0, 0xF6},
    {ButtonFunctionCode::WheelUp, {0x02, 0xF4, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Function, 0, 0xF8},
    {ButtonFunctionCode::WheelDown, {0x02, 0xF3, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Function, 0, 0xF9},
    {ButtonFunctionCode::MouseOnly63, {0x71, 0xF0, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndFunction, 0x71, 0x05},
    {ButtonFunctionCode::ReadBackOnly14, {0, 0, 0, 0}, CodeFill::NotWritten, CodeMatch::TypeAndCode, 0x04, 0xF4},
    {ButtonFunctionCode::ReadBackOnly15, {0, 0, 0, 0}, CodeFill::NotWritten, CodeMatch::TypeAndCode, 0x04, 0xF5},
    {ButtonFunctionCode::MediaPlayPause, {0x04, 0x00, 0x00, 0xCD}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x04, 0xCD},
    {ButtonFunctionCode::MediaPreviousTrack, {0x04, 0x00, 0x00, 0xB6}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x04, 0xB6},
    {ButtonFunctionCode::MediaNextTrack, {0x04, 0x00, 0x00, 0xB5}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x04, 0xB5},
    {ButtonFunctionCode::VolumeUp, {0x04, 0x00, 0x00, 0xE9}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x04, 0xE9},
    {ButtonFunctionCode::VolumeDown, {0x04, 0x00, 0x00, 0xEA}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x04, 0xEA},
    {ButtonFunctionCode::MouseOnly34, {0x73, 0x01, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x73, 0x01},
    {ButtonFunctionCode::MouseOnly35, {0x73, 0x02, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x73, 0x02},
    {ButtonFunctionCode::MouseOnly36, {0x73, 0x03, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x73, 0x03},
    {ButtonFunctionCode::MouseOnly61, {0x70, 0x01, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x70, 0x01},
    {ButtonFunctionCode::MouseOnly52, {0x70, 0x02, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x70, 0x02},
    {ButtonFunctionCode::MouseOnly53, {0x70, 0x03, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndCode, 0x70, 0x03},
    {ButtonFunctionCode::MouseOnly49, {0x00, 0x00, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::TypeAndCodeFrom, 0x0A, 0xF6},
    {ButtonFunctionCode::Macro, {0x53, 0x00, 0x00, 0x00}, CodeFill::ButtonIndex, CodeMatch::Type, 0x53, 0},
    // Written, never read back.
    {ButtonFunctionCode::DpiClutch, {0x71, 0x08, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::DpiStageUp, {0x71, 0x01, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::DpiStageDown, {0x71, 0x02, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::DoubleClick, {0x02, 0xF7, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::DpiCycleUp, {0x71, 0xF0, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::DpiCycleDown, {0x71, 0x05, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MouseOnly37, {0x73, 0x04, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MouseOnly38, {0x73, 0x05, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MouseOnly39, {0x73, 0x06, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::LaunchProgram, {0x05, 0x00, 0x00, 0x23}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MouseOnly54, {0x70, 0x04, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MouseOnly55, {0x70, 0x05, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MouseOnly56, {0x70, 0x06, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MouseOnly62, {0x53, 0x00, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::DpiClutchToggle, {0x71, 0x07, 0x00, 0x00}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::VolumeMute, {0x04, 0x00, 0x00, 0xE2}, CodeFill::Fixed, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::KeyboardKey, {0x00, 0x00, 0x00, 0x00}, CodeFill::KeyNumber, CodeMatch::Never, 0, 0},
    {ButtonFunctionCode::MacroOnce, {0x53, 0x00, 0x00, 0x00}, CodeFill::ButtonIndex, CodeMatch::Never, 0, 0},
};

// The two functions that carry a macro block (MouseOnly62 does not).
constexpr bool HasMacroBlock(std::uint8_t buttonFunc) {
    return buttonFunc == FunctionByte(ButtonFunctionCode::Macro) || buttonFunc == FunctionByte(ButtonFunctionCode::MacroOnce);
}

// The code written for one button; 00 00 00 00 for a function without one.
constexpr std::array<std::uint8_t, 4> ButtonCodeFor(std::uint8_t buttonFunc, int buttonIndex,
                                                     std::uint8_t keyNumber) {
    for (const auto& row : kButtonCodeRows) {
        if (FunctionByte(row.Function) != buttonFunc) continue;
        std::array<std::uint8_t, 4> code{row.Code[0], row.Code[1], row.Code[2], row.Code[3]};
        if (row.Fill == CodeFill::ButtonIndex) code[3] = static_cast<std::uint8_t>(buttonIndex);
        if (row.Fill == CodeFill::KeyNumber) code[1] = keyNumber;
        return code;
    }
    return {0, 0, 0, 0};
}

constexpr bool CodeRuleApplies(const ButtonCodeRow& row, std::uint8_t t, std::uint8_t f, std::uint8_t c) {
    switch (row.Match) {
        case CodeMatch::Never: return false;
        case CodeMatch::Function: return f == row.Value;
        case CodeMatch::TypeAndFunction: return t == row.Type && f == row.Value;
        case CodeMatch::TypeAndCode: return t == row.Type && c == row.Value;
        case CodeMatch::TypeAndCodeFrom: return t == row.Type && c >= row.Value;
        case CodeMatch::Type: return t == row.Type;
    }
    return false;
}

// The function a read-back entry stands for; -1 when no rule applies (the
// button stays as it was and nothing counts as read).
constexpr int DecodeButtonFunction(std::uint8_t type, std::uint8_t function, std::uint8_t code) {
    for (const auto& row : kButtonCodeRows)
        if (CodeRuleApplies(row, type, function, code)) return FunctionByte(row.Function);
    return -1;
}
