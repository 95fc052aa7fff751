// The 4-byte code each button function takes in the mouse's button table,
// and the macro block of the two macro functions. Plain constexpr data.
#pragma once

#include <array>
#include <cstdint>

// What fills the code's variable byte.
enum class CodeFill : std::uint8_t {
    Fixed,        // the four bytes as listed
    ButtonIndex,  // byte 3 = the button's index 0..9
    KeyNumber     // byte 1 = the button's KeyNumber
};

struct ButtonCodeEntry {
    std::uint8_t ButtonFunc;
    std::uint8_t Code[4];
    CodeFill Fill;
};

// Codes 04 00 00 xx carry a consumer-control usage (CD play/pause,
// B5 next, B6 previous, E9 volume up, EA volume down, E2 mute).
constexpr ButtonCodeEntry kButtonCodes[] = {
    {1, {0x02, 0xF0, 0x00, 0x00}, CodeFill::Fixed},
    {2, {0x02, 0xF2, 0x00, 0x00}, CodeFill::Fixed},
    {3, {0x02, 0xF1, 0x00, 0x00}, CodeFill::Fixed},
    {4, {0x02, 0xF8, 0x00, 0x00}, CodeFill::Fixed},
    {5, {0x02, 0xF9, 0x00, 0x00}, CodeFill::Fixed},
    {6, {0x71, 0x08, 0x00, 0x00}, CodeFill::Fixed},
    {7, {0x71, 0x01, 0x00, 0x00}, CodeFill::Fixed},
    {8, {0x71, 0x02, 0x00, 0x00}, CodeFill::Fixed},
    {9, {0x02, 0xF4, 0x00, 0x00}, CodeFill::Fixed},
    {10, {0x02, 0xF3, 0x00, 0x00}, CodeFill::Fixed},
    {11, {0x02, 0xF7, 0x00, 0x00}, CodeFill::Fixed},
    {24, {0x04, 0x00, 0x00, 0xCD}, CodeFill::Fixed},
    {25, {0x04, 0x00, 0x00, 0xE9}, CodeFill::Fixed},
    {26, {0x04, 0x00, 0x00, 0xEA}, CodeFill::Fixed},
    {27, {0x04, 0x00, 0x00, 0xB5}, CodeFill::Fixed},
    {28, {0x04, 0x00, 0x00, 0xB6}, CodeFill::Fixed},
    {29, {0x71, 0xF0, 0x00, 0x00}, CodeFill::Fixed},
    {30, {0x71, 0x05, 0x00, 0x00}, CodeFill::Fixed},
    {34, {0x73, 0x01, 0x00, 0x00}, CodeFill::Fixed},
    {35, {0x73, 0x02, 0x00, 0x00}, CodeFill::Fixed},
    {36, {0x73, 0x03, 0x00, 0x00}, CodeFill::Fixed},
    {37, {0x73, 0x04, 0x00, 0x00}, CodeFill::Fixed},
    {38, {0x73, 0x05, 0x00, 0x00}, CodeFill::Fixed},
    {39, {0x73, 0x06, 0x00, 0x00}, CodeFill::Fixed},
    {44, {0x53, 0x00, 0x00, 0x00}, CodeFill::ButtonIndex},
    {47, {0x05, 0x00, 0x00, 0x23}, CodeFill::Fixed},
    {49, {0x00, 0x00, 0x00, 0x00}, CodeFill::Fixed},
    {52, {0x70, 0x02, 0x00, 0x00}, CodeFill::Fixed},
    {53, {0x70, 0x03, 0x00, 0x00}, CodeFill::Fixed},
    {54, {0x70, 0x04, 0x00, 0x00}, CodeFill::Fixed},
    {55, {0x70, 0x05, 0x00, 0x00}, CodeFill::Fixed},
    {56, {0x70, 0x06, 0x00, 0x00}, CodeFill::Fixed},
    {61, {0x70, 0x01, 0x00, 0x00}, CodeFill::Fixed},
    {62, {0x53, 0x00, 0x00, 0x00}, CodeFill::Fixed},
    {63, {0x71, 0xF0, 0x00, 0x00}, CodeFill::Fixed},
    {64, {0x71, 0x07, 0x00, 0x00}, CodeFill::Fixed},
    {71, {0x04, 0x00, 0x00, 0xE2}, CodeFill::Fixed},
    {72, {0x00, 0x00, 0x00, 0x00}, CodeFill::KeyNumber},
    {73, {0x53, 0x00, 0x00, 0x00}, CodeFill::ButtonIndex},
};

// The two functions that carry a macro block (code 62 does not).
constexpr std::uint8_t kMacroFunctionHeld = 44;
constexpr std::uint8_t kMacroFunctionOther = 73;
constexpr bool HasMacroBlock(std::uint8_t buttonFunc) {
    return buttonFunc == kMacroFunctionHeld || buttonFunc == kMacroFunctionOther;
}

// The code of one button; 00 00 00 00 for a function not in the table.
constexpr std::array<std::uint8_t, 4> ButtonCodeFor(std::uint8_t buttonFunc, int buttonIndex,
                                                     std::uint8_t keyNumber) {
    for (const auto& entry : kButtonCodes) {
        if (entry.ButtonFunc != buttonFunc) continue;
        std::array<std::uint8_t, 4> code{entry.Code[0], entry.Code[1], entry.Code[2], entry.Code[3]};
        if (entry.Fill == CodeFill::ButtonIndex) code[3] = static_cast<std::uint8_t>(buttonIndex);
        if (entry.Fill == CodeFill::KeyNumber) code[1] = keyNumber;
        return code;
    }
    return {0, 0, 0, 0};
}

// Data reports of the macro area that start a button's block: a 150 ms
// pause comes after each of them.
constexpr int kMacroBlockStartReports[] = {0, 38, 76, 114, 151, 189, 227, 265, 302, 340};
constexpr bool IsMacroBlockStartReport(int j) {
    for (int start : kMacroBlockStartReports)
        if (start == j) return true;
    return false;
}
