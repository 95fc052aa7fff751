// The button codes in both directions: each function is written into the
// mouse's button table as the full write does, and the written entry is read
// back as the read-back decodes it. The functions whose read-back differs
// from what was written are listed here one by one, with what they read
// back as; the test fails when the set changes, in either direction.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <string>

#include "contract/ButtonCodes.h"

namespace {

using C = ButtonFunctionCode;

constexpr int kNothing = -1;  // no rule applies: the button keeps its old value
constexpr int kButtonIndex = 3;
constexpr std::uint8_t kKeyNumber = 0x04;  // the key A

// Every function code, with what it reads back as when it differs from
// itself. Read back as itself: 1, 2, 3, 24 to 28 and 44.
const std::map<C, int> kReadBack = {
    {C::LeftButton, 1},         {C::MiddleButton, 2},       {C::RightButton, 3},
    {C::XButton1, 9},           // written 02 F8, F8 is read as WheelUp
    {C::XButton2, 10},          // written 02 F9, F9 is read as WheelDown
    {C::DpiClutch, kNothing},   {C::DpiStageUp, kNothing},  {C::DpiStageDown, kNothing},
    {C::WheelUp, 5},            // written 02 F4, F4 is read as XButton2
    {C::WheelDown, 4},          // written 02 F3, F3 is read as XButton1
    {C::DoubleClick, kNothing},
    {C::ReadBackOnly14, kNothing}, {C::ReadBackOnly15, kNothing},  // never written
    {C::ReadBackOnly16, kNothing}, {C::ReadBackOnly17, kNothing},
    {C::MediaPlayPause, 24},    {C::VolumeUp, 25},          {C::VolumeDown, 26},
    {C::MediaNextTrack, 27},    {C::MediaPreviousTrack, 28},
    {C::DpiCycleUp, 1},         // written 71 F0, F0 is read as LeftButton
    {C::DpiCycleDown, 63},      // written 71 05, read as MouseOnly63
    {C::MouseOnly34, kNothing}, // written 73 01 00 00, read from byte 3
    {C::MouseOnly35, kNothing}, {C::MouseOnly36, kNothing},
    {C::MouseOnly37, kNothing}, {C::MouseOnly38, kNothing}, {C::MouseOnly39, kNothing},
    {C::Macro, 44},
    {C::LaunchProgram, kNothing},
    {C::MouseOnly49, kNothing}, // written 00 00 00 00
    {C::MouseOnly52, kNothing}, // written 70 02 00 00, read from byte 3
    {C::MouseOnly53, kNothing}, {C::MouseOnly54, kNothing}, {C::MouseOnly55, kNothing},
    {C::MouseOnly56, kNothing}, {C::MouseOnly61, kNothing},
    {C::MouseOnly62, 44},       // written 53 00 00 00, read as Macro
    {C::MouseOnly63, 1},        // written 71 F0, F0 is read as LeftButton
    {C::DpiClutchToggle, kNothing}, {C::VolumeMute, kNothing},
    {C::KeyboardKey, kNothing}, // written 00 04 00 00
    {C::MacroOnce, 44},         // written 53 00 00 i, read as Macro
    {C::MacroNotify, kNothing}, // never written
    {C::Unassigned, kNothing},
};

int RoundTrip(std::uint8_t function) {
    const auto code = ButtonCodeFor(function, kButtonIndex, kKeyNumber);
    return DecodeButtonFunction(code[0], code[1], code[3]);
}

std::string Show(int value) { return value == kNothing ? "nothing" : std::to_string(value); }

TEST(ButtonCodeRoundTripTest, EachFunctionReadsBackAsListed) {
    for (const auto& [function, expected] : kReadBack) {
        const int code = FunctionByte(function);
        EXPECT_EQ(Show(RoundTrip(FunctionByte(function))), Show(expected)) << "function " << code;
    }
}

TEST(ButtonCodeRoundTripTest, TheFunctionsThatDoNotReadBackAsThemselves) {
    std::ostringstream actual;
    std::ostringstream listed;
    for (const auto& [function, expected] : kReadBack) {
        const int code = FunctionByte(function);
        const int back = RoundTrip(FunctionByte(function));
        if (back != code) actual << code << "->" << Show(back) << " ";
        if (expected != code) listed << code << "->" << Show(expected) << " ";
    }
    EXPECT_EQ(actual.str(), listed.str());
    // Read back as themselves: the mouse buttons 1 to 3, the media and
    // volume keys, and the held macro.
    std::ostringstream same;
    for (const auto& [function, expected] : kReadBack)
        if (expected == FunctionByte(function)) same << int(FunctionByte(function)) << " ";
    EXPECT_EQ(same.str(), "1 2 3 24 25 26 27 28 44 ");
}

// Every code that is written as anything but zeros, or that a read-back can
// yield, has its row in the list above, so a new function cannot slip past it.
TEST(ButtonCodeRoundTripTest, TheListCoversEveryCodeOfTheTable) {
    for (int function = 0; function <= 0xFF; ++function) {
        const auto code = ButtonCodeFor(static_cast<std::uint8_t>(function), kButtonIndex, kKeyNumber);
        const bool written = code[0] || code[1] || code[2] || code[3];
        bool inTable = false;
        for (const auto& row : kButtonCodeRows) inTable = inTable || FunctionByte(row.Function) == function;
        if (written || inTable) {
            EXPECT_EQ(kReadBack.count(static_cast<C>(function)), 1u) << "function " << function;
        }
    }
}

// The decode rules are tried in order: the rule f = F5 (read as
// 16) comes before the rule t = 4, c = F4 (read as 14).
TEST(ButtonCodeRoundTripTest, TheFirstRuleThatAppliesDecides) {
    EXPECT_EQ(DecodeButtonFunction(0x04, 0xF5, 0xF4), 16);
    EXPECT_EQ(DecodeButtonFunction(0x04, 0x00, 0xF4), 14);
    EXPECT_EQ(DecodeButtonFunction(0x53, 0xF0, 0x00), 1);
}

}  // namespace
