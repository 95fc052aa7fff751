#include "tools/settingsedit/ButtonAssignmentText.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "contract/FunctionCodes.h"

namespace {

constexpr std::uint8_t kMacro = FunctionByte(ButtonFunctionCode::Macro);
constexpr std::uint8_t kLaunchProgram = FunctionByte(ButtonFunctionCode::LaunchProgram);
constexpr std::uint8_t kKeyboardKey = FunctionByte(ButtonFunctionCode::KeyboardKey);
constexpr std::uint8_t kMacroOnce = FunctionByte(ButtonFunctionCode::MacroOnce);
constexpr std::uint8_t kMacroNotify = FunctionByte(ButtonFunctionCode::MacroNotify);

constexpr std::int32_t kModeToggle = kMacroRepeatUntilPressed;
constexpr std::int32_t kModeHeld = kMacroRepeatWhileHeld;
constexpr std::int32_t kMostPasses = kMacroMostPasses;

constexpr unsigned kDelayUnitMs = 20;
constexpr unsigned kLongestDelayUnits = 0x7FFF;
constexpr std::size_t kLongestPath = kPathLength - 1;
constexpr std::size_t kLongestMacroName = kMacroNameLength - 1;

// Lower case, without '-' and '_': "Keyboard-Key" and "keyboard_key" match "KeyboardKey".
std::string Folded(const std::string& name) {
    std::string out;
    for (char c : name)
        if (c != '-' && c != '_') out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

bool FindByName(const std::vector<NamedCode>& table, const std::string& name, std::uint8_t& code) {
    const std::string wanted = Folded(name);
    if (wanted.empty()) return false;
    for (const NamedCode& entry : table) {
        if (Folded(entry.Name) == wanted) {
            code = entry.Code;
            return true;
        }
    }
    return false;
}

std::string FindName(const std::vector<NamedCode>& table, std::uint8_t code) {
    for (const NamedCode& entry : table)
        if (entry.Code == code) return entry.Name;
    return std::string();
}

// A whole decimal or 0x-hexadecimal number within [low, high].
bool ParseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || end == nullptr || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

std::string Hex2(unsigned value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out = "0x";
    out.push_back(kDigits[(value >> 4) & 0xF]);
    out.push_back(kDigits[value & 0xF]);
    return out;
}

// Characters, counting a UTF-8 sequence as one.
std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

bool HasControlCharacter(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

bool IsMacroFunction(std::uint8_t code) { return code == kMacro || code == kMacroOnce; }

struct AssignmentWords {
    std::string function;
    bool hasKey = false, hasMacro = false, hasMode = false, hasPath = false, hasName = false;
    std::string key, macro, mode, path, name;
};

bool SplitWords(const std::vector<std::string>& words, AssignmentWords& out, std::string& error) {
    if (words.empty()) {
        error = "missing function name";
        return false;
    }
    out.function = words[0];
    for (std::size_t i = 1; i < words.size(); i += 2) {
        const std::string& option = words[i];
        bool* seen = nullptr;
        std::string* value = nullptr;
        if (option == "key") seen = &out.hasKey, value = &out.key;
        else if (option == "macro") seen = &out.hasMacro, value = &out.macro;
        else if (option == "mode") seen = &out.hasMode, value = &out.mode;
        else if (option == "path") seen = &out.hasPath, value = &out.path;
        else if (option == "name") seen = &out.hasName, value = &out.name;
        else {
            error = "unknown word '" + option + "' (expected key, macro, mode, path or name)";
            return false;
        }
        if (*seen) {
            error = "'" + option + "' given twice";
            return false;
        }
        if (i + 1 >= words.size()) {
            error = "missing value after '" + option + "'";
            return false;
        }
        *seen = true;
        *value = words[i + 1];
    }
    return true;
}

bool CheckText(const std::string& what, const std::string& text, std::size_t longest, std::string& error) {
    if (HasControlCharacter(text)) {
        error = what + " holds a control character";
        return false;
    }
    if (CharacterCount(text) > longest) {
        error = what + " is longer than " + std::to_string(longest) + " characters";
        return false;
    }
    return true;
}

}  // namespace

const std::vector<NamedCode>& FunctionNames() {
    using C = ButtonFunctionCode;
    static const std::vector<NamedCode> kNames = {
        {"LeftButton", FunctionByte(C::LeftButton)},     {"MiddleButton", FunctionByte(C::MiddleButton)},
        {"RightButton", FunctionByte(C::RightButton)},   {"XButton1", FunctionByte(C::XButton1)},
        {"XButton2", FunctionByte(C::XButton2)},         {"DpiClutch", FunctionByte(C::DpiClutch)},
        {"DpiStageUp", FunctionByte(C::DpiStageUp)},     {"DpiStageDown", FunctionByte(C::DpiStageDown)},
        {"WheelUp", FunctionByte(C::WheelUp)},           {"WheelDown", FunctionByte(C::WheelDown)},
        {"DoubleClick", FunctionByte(C::DoubleClick)},   {"MediaPlayPause", FunctionByte(C::MediaPlayPause)},
        {"VolumeUp", FunctionByte(C::VolumeUp)},         {"VolumeDown", FunctionByte(C::VolumeDown)},
        {"MediaNextTrack", FunctionByte(C::MediaNextTrack)},
        {"MediaPreviousTrack", FunctionByte(C::MediaPreviousTrack)},
        {"DpiCycleUp", FunctionByte(C::DpiCycleUp)},     {"DpiCycleDown", FunctionByte(C::DpiCycleDown)},
        {"Macro", kMacro},                               {"LaunchProgram", kLaunchProgram},
        {"DpiClutchToggle", FunctionByte(C::DpiClutchToggle)}, {"VolumeMute", FunctionByte(C::VolumeMute)},
        {"KeyboardKey", kKeyboardKey},                   {"MacroOnce", kMacroOnce},
        {"MacroNotify", kMacroNotify},                   {"Unassigned", FunctionByte(C::Unassigned)},
    };
    return kNames;
}

const std::vector<NamedCode>& KeyNames() {
    static const std::vector<NamedCode> kNames = [] {
        std::vector<NamedCode> names;
        static const char* const kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                               "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                               "S", "T", "U", "V", "W", "X", "Y", "Z"};
        for (std::uint8_t i = 0; i < 26; ++i) names.push_back({kLetters[i], static_cast<std::uint8_t>(0x04 + i)});
        static const char* const kDigits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
        for (std::uint8_t i = 0; i < 10; ++i) names.push_back({kDigits[i], static_cast<std::uint8_t>(0x1E + i)});
        const NamedCode rest[] = {
            {"Enter", 0x28},       {"Escape", 0x29},     {"Backspace", 0x2A},  {"Tab", 0x2B},
            {"Space", 0x2C},       {"Minus", 0x2D},      {"Equals", 0x2E},     {"LeftBracket", 0x2F},
            {"RightBracket", 0x30}, {"Backslash", 0x31}, {"Semicolon", 0x33},  {"Quote", 0x34},
            {"Grave", 0x35},       {"Comma", 0x36},      {"Period", 0x37},     {"Slash", 0x38},
            {"CapsLock", 0x39},    {"F1", 0x3A},         {"F2", 0x3B},         {"F3", 0x3C},
            {"F4", 0x3D},          {"F5", 0x3E},         {"F6", 0x3F},         {"F7", 0x40},
            {"F8", 0x41},          {"F9", 0x42},         {"F10", 0x43},        {"F11", 0x44},
            {"F12", 0x45},         {"PrintScreen", 0x46}, {"ScrollLock", 0x47}, {"Pause", 0x48},
            {"Insert", 0x49},      {"Home", 0x4A},       {"PageUp", 0x4B},     {"Delete", 0x4C},
            {"End", 0x4D},         {"PageDown", 0x4E},   {"Right", 0x4F},      {"Left", 0x50},
            {"Down", 0x51},        {"Up", 0x52},         {"NumLock", 0x53},    {"KpDivide", 0x54},
            {"KpMultiply", 0x55},  {"KpSubtract", 0x56}, {"KpAdd", 0x57},      {"KpEnter", 0x58},
            {"Kp1", 0x59},         {"Kp2", 0x5A},        {"Kp3", 0x5B},        {"Kp4", 0x5C},
            {"Kp5", 0x5D},         {"Kp6", 0x5E},        {"Kp7", 0x5F},        {"Kp8", 0x60},
            {"Kp9", 0x61},         {"Kp0", 0x62},        {"KpDecimal", 0x63},  {"Application", 0x65},
            {"LCtrl", 0xE0},       {"LShift", 0xE1},     {"LAlt", 0xE2},       {"LWin", 0xE3},
            {"RCtrl", 0xE4},       {"RShift", 0xE5},     {"RAlt", 0xE6},       {"RWin", 0xE7},
            {"LButton", 0xB7},     {"RButton", 0xB8},    {"MButton", 0xB9},
        };
        for (const NamedCode& entry : rest) names.push_back(entry);
        return names;
    }();
    return kNames;
}

bool FunctionCodeByName(const std::string& name, std::uint8_t& code) {
    return FindByName(FunctionNames(), name, code);
}

bool KeyCodeByName(const std::string& name, std::uint8_t& code) { return FindByName(KeyNames(), name, code); }

std::string FunctionName(std::uint8_t code) { return FindName(FunctionNames(), code); }

std::string KeyName(std::uint8_t code) { return FindName(KeyNames(), code); }

namespace {

// A key by name, or by code 0x01 to 0xFF.
bool ParseKey(const std::string& text, std::uint8_t& code, std::string& error) {
    if (KeyCodeByName(text, code)) return true;
    long value = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && ParseNumber(text, 1, 0xFF, value)) {
        code = static_cast<std::uint8_t>(value);
        return true;
    }
    error = "unknown key '" + text + "'";
    return false;
}

std::string DescribeKey(std::uint8_t code) {
    const std::string name = KeyName(code);
    return name.empty() ? Hex2(code) : name;
}

// "40ms" -> 40. False for anything else.
bool IsDelayWord(const std::string& word, std::string& number) {
    if (word.size() < 3 || word.compare(word.size() - 2, 2, "ms") != 0) return false;
    number = word.substr(0, word.size() - 2);
    for (char c : number)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return !number.empty();
}

}  // namespace

bool ParseMacroEvents(const std::string& text, ButtonDataBytes& data, std::size_t& eventCount, std::string& error) {
    data.fill(0);
    eventCount = 0;
    std::istringstream in(text);
    bool lastHasDelay = true;  // no event yet: a delay here has nothing to follow
    for (std::string word; in >> word;) {
        std::string number;
        if (IsDelayWord(word, number)) {
            if (lastHasDelay) {
                error = "the wait '" + word + "' follows no event";
                return false;
            }
            long ms = 0;
            if (!ParseNumber(number, 0, static_cast<long>(kLongestDelayUnits * kDelayUnitMs), ms)) {
                error = "the wait '" + word + "' is longer than " +
                        std::to_string(kLongestDelayUnits * kDelayUnitMs) + " ms";
                return false;
            }
            if (ms % kDelayUnitMs != 0) {
                error = "the wait '" + word + "' is not a multiple of 20 ms";
                return false;
            }
            const unsigned units = static_cast<unsigned>(ms) / kDelayUnitMs;
            std::uint8_t* event = &data[(eventCount - 1) * kMacroEventSize];
            event[0] = static_cast<std::uint8_t>((event[0] & 0x80) | ((units >> 8) & 0x7F));
            event[1] = static_cast<std::uint8_t>(units & 0xFF);
            lastHasDelay = true;
            continue;
        }
        const char direction = word.back();
        if (word.size() < 2 || (direction != '+' && direction != '-')) {
            error = "the macro event '" + word + "' is neither KEY+, KEY- nor a wait like 40ms";
            return false;
        }
        std::uint8_t key = 0;
        if (!ParseKey(word.substr(0, word.size() - 1), key, error)) return false;
        if (eventCount == kMaxMacroEvents) {
            error = "a macro holds at most " + std::to_string(kMaxMacroEvents) + " events";
            return false;
        }
        std::uint8_t* event = &data[eventCount * kMacroEventSize];
        event[0] = direction == '+' ? 0x80 : 0x00;
        event[1] = 0;
        event[2] = key;
        ++eventCount;
        lastHasDelay = false;
    }
    if (eventCount == 0) {
        error = "the macro has no events";
        return false;
    }
    return true;
}

std::string DescribeMacroEvents(const ButtonDataBytes& data) {
    std::string out;
    for (std::size_t i = 0; i < kMaxMacroEvents; ++i) {
        const std::uint8_t* event = &data[i * kMacroEventSize];
        if (event[2] == 0) break;
        if (!out.empty()) out += ' ';
        out += DescribeKey(event[2]) + ((event[0] & 0x80) ? "+" : "-");
        const unsigned units = ((event[0] & 0x7Fu) << 8) | event[1];
        if (units != 0) out += ' ' + std::to_string(units * kDelayUnitMs) + "ms";
    }
    return out;
}

bool ParseMacroMode(const std::string& text, std::int32_t& buttonId, std::string& error) {
    if (text == "held") {
        buttonId = kModeHeld;
        return true;
    }
    if (text == "toggle") {
        buttonId = kModeToggle;
        return true;
    }
    long passes = 0;
    if (ParseNumber(text, 1, kMostPasses, passes)) {
        buttonId = static_cast<std::int32_t>(passes);
        return true;
    }
    error = "the mode '" + text + "' is neither held, toggle nor a number of passes 1 to 65534";
    return false;
}

std::string DescribeMacroMode(std::int32_t buttonId) {
    if (buttonId == kModeHeld) return "held";
    if (buttonId == kModeToggle) return "toggle";
    if (buttonId >= 1 && buttonId <= kMostPasses) return std::to_string(buttonId);
    return "none(" + std::to_string(buttonId) + ")";
}

bool ParseAssignment(const std::vector<std::string>& words, ButtonAssignmentValues& values, std::string& error) {
    AssignmentWords w;
    if (!SplitWords(words, w, error)) return false;

    ButtonAssignmentValues out;
    long number = 0;
    if (!FunctionCodeByName(w.function, out.ButtonFunc)) {
        if (!ParseNumber(w.function, 0, 255, number)) {
            error = "unknown function '" + w.function + "'";
            return false;
        }
        out.ButtonFunc = static_cast<std::uint8_t>(number);
    }
    const std::uint8_t code = out.ButtonFunc;
    const std::string function = FunctionName(code).empty() ? "function " + std::to_string(code) : FunctionName(code);

    const bool takesKey = code == kKeyboardKey;
    const bool takesMacro = IsMacroFunction(code);
    const bool takesMode = code == kMacro;
    const bool takesPath = code == kLaunchProgram;
    const bool takesName = IsMacroFunction(code) || code == kMacroNotify;
    const struct {
        bool given, taken;
        const char* word;
    } options[] = {{w.hasKey, takesKey, "key"},
                   {w.hasMacro, takesMacro, "macro"},
                   {w.hasMode, takesMode, "mode"},
                   {w.hasPath, takesPath, "path"},
                   {w.hasName, takesName, "name"}};
    for (const auto& option : options) {
        if (option.given && !option.taken) {
            error = function + " takes no " + option.word;
            return false;
        }
    }
    const struct {
        bool given, needed;
        const char* what;
    } needs[] = {{w.hasKey, takesKey, "a key (key NAME)"},
                 {w.hasMacro, takesMacro, "macro events (macro \"A+ 40ms A-\")"},
                 {w.hasPath, takesPath, "a path (path TEXT)"},
                 {w.hasName, code == kMacroNotify, "a macro name (name TEXT)"}};
    for (const auto& need : needs) {
        if (need.needed && !need.given) {
            error = function + " needs " + need.what;
            return false;
        }
    }

    if (takesKey && !ParseKey(w.key, out.KeyNumber, error)) return false;
    if (takesMacro) {
        std::size_t events = 0;
        if (!ParseMacroEvents(w.macro, out.ButtonData, events, error)) return false;
        // The length of the macro data in ButtonData, as the mouse gets it.
        out.KeyNumber = static_cast<std::uint8_t>(events * kMacroEventSize);
    }
    if (takesMode) {
        out.ButtonID = 1;  // one pass unless a mode is given
        if (w.hasMode && !ParseMacroMode(w.mode, out.ButtonID, error)) return false;
    }
    if (w.hasPath) {
        if (w.path.empty()) {
            error = "the path is empty";
            return false;
        }
        if (!CheckText("the path", w.path, kLongestPath, error)) return false;
        out.Path = w.path;
    }
    if (w.hasName) {
        if (code == kMacroNotify && w.name.empty()) {
            error = "MacroNotify needs a name that is not empty";
            return false;
        }
        if (!CheckText("the name", w.name, kLongestMacroName, error)) return false;
        out.MacroName = w.name;
    }
    values = out;
    return true;
}

std::string DescribeAssignment(const ButtonAssignmentValues& v) {
    const std::string name = FunctionName(v.ButtonFunc);
    std::string out = name.empty() ? "function " + std::to_string(v.ButtonFunc) : name;
    if (v.ButtonFunc == kKeyboardKey) out += " key " + DescribeKey(v.KeyNumber);
    if (v.ButtonFunc == kMacro) out += " mode " + DescribeMacroMode(v.ButtonID);
    if (IsMacroFunction(v.ButtonFunc)) out += " macro \"" + DescribeMacroEvents(v.ButtonData) + "\"";
    if (v.ButtonFunc == kLaunchProgram) out += " path \"" + v.Path + "\"";
    if ((IsMacroFunction(v.ButtonFunc) || v.ButtonFunc == kMacroNotify) && !v.MacroName.empty())
        out += " name \"" + v.MacroName + "\"";
    return out;
}

bool ParseButtonIndex(const std::string& text, int& index, std::string& error) {
    long value = 0;
    if (!ParseNumber(text, 0, kButtonCount - 1, value)) {
        error = "the button index '" + text + "' is not a number 0 to " + std::to_string(kButtonCount - 1);
        return false;
    }
    index = static_cast<int>(value);
    return true;
}

bool ParseProfileIndex(const std::string& text, int& index, std::string& error) {
    long value = 0;
    if (!ParseNumber(text, 0, kProfileCount - 1, value)) {
        error = "the profile '" + text + "' is not a number 0 to " + std::to_string(kProfileCount - 1);
        return false;
    }
    index = static_cast<int>(value);
    return true;
}
