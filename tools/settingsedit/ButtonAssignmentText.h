// A button's assignment written and read by name: function names, key
// names and macro events as text, turned into the values the settings file
// keeps for a button (ButtonFunc, ButtonID, KeyNumber, ButtonData, MacroName,
// Path) and back. Plain logic; the settings editor writes the result with
// the system's profile functions.
//
// Words of an assignment, after the button index:
//   FUNCTION [key KEY] [macro "EVENTS"] [mode held|toggle|N] [path TEXT] [name TEXT]
// FUNCTION is a function name (LeftButton, KeyboardKey, Macro, ... matched
// without regard to case, '-' or '_') or a code 0 to 255.
// EVENTS are macro events separated by spaces: KEY+ (press) or KEY- (release),
// each optionally followed by the wait after it in ms, a multiple of 20
// ("LShift+ A+ 40ms A- LShift-"); KEY is a key name or LButton, RButton, MButton.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/SettingsRecords.h"

using ButtonDataBytes = std::array<std::uint8_t, kButtonDataSize>;

// What the settings file keeps for one button.
struct ButtonAssignmentValues {
    std::uint8_t ButtonFunc = 0;
    std::int32_t ButtonID = 0;
    std::uint8_t KeyNumber = 0;
    ButtonDataBytes ButtonData{};
    std::string MacroName;
    std::string Path;
};

struct NamedCode {
    const char* Name;
    std::uint8_t Code;
};

// The functions the service carries out, by name.
const std::vector<NamedCode>& FunctionNames();
// The key codes of profiles and macros (USB keyboard usages, and the three
// mouse buttons of macros), by name.
const std::vector<NamedCode>& KeyNames();

// Lookups by name, ignoring case, '-' and '_'. False when the name is unknown.
bool FunctionCodeByName(const std::string& name, std::uint8_t& code);
bool KeyCodeByName(const std::string& name, std::uint8_t& code);
// The name of a code, or "" when it has none.
std::string FunctionName(std::uint8_t code);
std::string KeyName(std::uint8_t code);

// Macro events as text into ButtonData; `eventCount` gets the number of
// events. False with a message in `error` for bad text.
bool ParseMacroEvents(const std::string& text, ButtonDataBytes& data, std::size_t& eventCount,
                      std::string& error);
// ButtonData as macro event text, up to the first event whose key is 0.
std::string DescribeMacroEvents(const ButtonDataBytes& data);

// Play modes of the macro function (kept in ButtonID): "held" 65535,
// "toggle" 0, or a number of passes 1 to 65534.
bool ParseMacroMode(const std::string& text, std::int32_t& buttonId, std::string& error);
std::string DescribeMacroMode(std::int32_t buttonId);

// The words after the button index into the values to write. False with a
// message in `error` for an unknown word, a missing or bad value, a value the
// function does not take, or one it needs and lacks.
bool ParseAssignment(const std::vector<std::string>& words, ButtonAssignmentValues& values,
                     std::string& error);
// One line: the function's name and the values it uses.
std::string DescribeAssignment(const ButtonAssignmentValues& values);

// A button index 0 to 9 (button n of the file is index n - 1).
bool ParseButtonIndex(const std::string& text, int& index, std::string& error);
// A profile slot 0 to 5.
bool ParseProfileIndex(const std::string& text, int& index, std::string& error);
