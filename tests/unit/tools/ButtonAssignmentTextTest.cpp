#include "tools/settingsedit/ButtonAssignmentText.h"

#include <gtest/gtest.h>

#include <set>

#include "actions/ButtonFunctions.h"
#include "actions/VirtualKeys.h"
#include "tests/support/ProcessReset.h"

namespace {

class ButtonAssignmentTextTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessState(); }
};

std::vector<std::string> Words(std::initializer_list<const char*> words) {
    return std::vector<std::string>(words.begin(), words.end());
}

std::string Hex(const ButtonDataBytes& data, std::size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += ' ';
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 0xF];
    }
    return out;
}

TEST_F(ButtonAssignmentTextTest, FunctionNamesCarryTheDispatchersCodes) {
    const struct {
        const char* name;
        ButtonFunctionCode code;
    } cases[] = {
        {"LeftButton", ButtonFunctionCode::LeftButton},     {"XButton2", ButtonFunctionCode::XButton2},
        {"DpiCycleDown", ButtonFunctionCode::DpiCycleDown}, {"Macro", ButtonFunctionCode::Macro},
        {"LaunchProgram", ButtonFunctionCode::LaunchProgram}, {"KeyboardKey", ButtonFunctionCode::KeyboardKey},
        {"MacroOnce", ButtonFunctionCode::MacroOnce},       {"MacroNotify", ButtonFunctionCode::MacroNotify},
        {"DpiClutchToggle", ButtonFunctionCode::DpiClutchToggle}, {"Unassigned", ButtonFunctionCode::Unassigned},
    };
    for (const auto& c : cases) {
        std::uint8_t code = 0;
        ASSERT_TRUE(FunctionCodeByName(c.name, code)) << c.name;
        EXPECT_EQ(static_cast<int>(c.code), code) << c.name;
        EXPECT_EQ(c.name, FunctionName(code));
    }
}

TEST_F(ButtonAssignmentTextTest, NamesMatchWithoutRegardToCaseDashOrUnderscore) {
    for (const char* spelling : {"keyboardkey", "Keyboard-Key", "KEYBOARD_KEY", "keyboard-key"}) {
        std::uint8_t code = 0;
        EXPECT_TRUE(FunctionCodeByName(spelling, code)) << spelling;
        EXPECT_EQ(72, code) << spelling;
    }
    std::uint8_t code = 0;
    EXPECT_FALSE(FunctionCodeByName("Keyboard Key", code));
    EXPECT_FALSE(FunctionCodeByName("", code));
    EXPECT_FALSE(FunctionCodeByName("-", code));
}

TEST_F(ButtonAssignmentTextTest, EveryTranslatedKeyHasANameAndNamesAreUnique) {
    for (const UsageKeyPair& pair : kUsageToVirtualKey)
        EXPECT_FALSE(KeyName(pair.Usage).empty()) << "usage " << int(pair.Usage);
    std::set<std::string> names;
    std::set<int> codes;
    for (const NamedCode& key : KeyNames()) {
        EXPECT_TRUE(names.insert(key.Name).second) << key.Name;
        EXPECT_TRUE(codes.insert(key.Code).second) << key.Name;
    }
    EXPECT_EQ(sizeof kUsageToVirtualKey / sizeof kUsageToVirtualKey[0] + 3, KeyNames().size());
}

TEST_F(ButtonAssignmentTextTest, MacroEventsBecomeButtonDataBytes) {
    const struct {
        const char* text;
        std::size_t events;
        const char* bytes;  // as many bytes as the events take
    } cases[] = {
        {"A+ A-", 2, "80 00 04 00 00 04"},
        {"LShift+ A+ 40ms A- 20ms LShift-", 4, "80 00 e1 80 02 04 00 01 04 00 00 e1"},
        {"lbutton+ 100ms LButton-", 2, "80 05 b7 00 00 b7"},
        {"0x2c+ 655340ms 0x2c-", 2, "ff ff 2c 00 00 2c"},
        {"KpAdd+ 0ms KpAdd-", 2, "80 00 57 00 00 57"},
        {"  Enter+\t Enter-  ", 2, "80 00 28 00 00 28"},
    };
    for (const auto& c : cases) {
        ButtonDataBytes data{};
        std::size_t events = 0;
        std::string error;
        ASSERT_TRUE(ParseMacroEvents(c.text, data, events, error)) << c.text << ": " << error;
        EXPECT_EQ(c.events, events) << c.text;
        EXPECT_EQ(c.bytes, Hex(data, events * kMacroEventSize)) << c.text;
        for (std::size_t i = events * kMacroEventSize; i < data.size(); ++i) ASSERT_EQ(0, data[i]) << c.text;
    }
}

TEST_F(ButtonAssignmentTextTest, BadMacroTextIsRefusedWithItsReason) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "the macro has no events"},
        {"40ms A+", "the wait '40ms' follows no event"},
        {"A+ 40ms 20ms", "the wait '20ms' follows no event"},
        {"A+ 30ms", "the wait '30ms' is not a multiple of 20 ms"},
        {"A+ 655360ms", "the wait '655360ms' is longer than 655340 ms"},
        {"A+ 99999999999999999999ms", "the wait '99999999999999999999ms' is longer than 655340 ms"},
        {"A", "the macro event 'A' is neither KEY+, KEY- nor a wait like 40ms"},
        {"+", "the macro event '+' is neither KEY+, KEY- nor a wait like 40ms"},
        {"Foo+", "unknown key 'Foo'"},
        {"0x00+", "unknown key '0x00'"},
        {"0x100+", "unknown key '0x100'"},
    };
    for (const auto& c : cases) {
        ButtonDataBytes data{};
        std::size_t events = 0;
        std::string error;
        EXPECT_FALSE(ParseMacroEvents(c.text, data, events, error)) << c.text;
        EXPECT_EQ(c.error, error) << c.text;
    }
}

TEST_F(ButtonAssignmentTextTest, EightyEventsFitAndTheEightyFirstIsRefused) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += i % 2 == 0 ? "B+ " : "B- ";
    ButtonDataBytes data{};
    std::size_t events = 0;
    std::string error;
    ASSERT_TRUE(ParseMacroEvents(text, data, events, error)) << error;
    EXPECT_EQ(80u, events);
    EXPECT_EQ(0x05, data[239]);
    EXPECT_FALSE(ParseMacroEvents(text + "B+", data, events, error));
    EXPECT_EQ("a macro holds at most 80 events", error);
}

TEST_F(ButtonAssignmentTextTest, MacroTextSurvivesTheRoundTrip) {
    for (const char* text : {"LShift+ A+ 40ms A- 20ms LShift-", "LButton+ 100ms LButton-", "0x99+ 0x99-"}) {
        ButtonDataBytes data{};
        std::size_t events = 0;
        std::string error;
        ASSERT_TRUE(ParseMacroEvents(text, data, events, error)) << error;
        EXPECT_EQ(text, DescribeMacroEvents(data));
    }
}

TEST_F(ButtonAssignmentTextTest, AssignmentsGiveTheValuesOfTheFile) {
    const struct {
        std::vector<std::string> words;
        int func, buttonId, keyNumber;
        const char* macroName;
        const char* path;
        const char* described;
    } cases[] = {
        {Words({"RightButton"}), 3, 0, 0, "", "", "RightButton"},
        {Words({"11"}), 11, 0, 0, "", "", "DoubleClick"},
        {Words({"34"}), 34, 0, 0, "", "", "function 34"},
        {Words({"KeyboardKey", "key", "A"}), 72, 0, 0x04, "", "", "KeyboardKey key A"},
        {Words({"keyboard-key", "key", "f5"}), 72, 0, 0x3E, "", "", "KeyboardKey key F5"},
        {Words({"Macro", "macro", "A+ 40ms A-"}), 44, 1, 6, "", "", "Macro mode 1 macro \"A+ 40ms A-\""},
        {Words({"Macro", "mode", "held", "macro", "B+ B-", "name", "Hold B"}), 44, 65535, 6, "Hold B", "",
         "Macro mode held macro \"B+ B-\" name \"Hold B\""},
        {Words({"Macro", "macro", "B+ B-", "mode", "toggle"}), 44, 0, 6, "", "", "Macro mode toggle macro \"B+ B-\""},
        {Words({"Macro", "macro", "B+ B-", "mode", "65534"}), 44, 65534, 6, "", "",
         "Macro mode 65534 macro \"B+ B-\""},
        {Words({"MacroOnce", "macro", "C+ C- D+ D-"}), 73, 0, 12, "", "", "MacroOnce macro \"C+ C- D+ D-\""},
        {Words({"LaunchProgram", "path", "C:\\Tools\\x.exe"}), 47, 0, 0, "", "C:\\Tools\\x.exe",
         "LaunchProgram path \"C:\\Tools\\x.exe\""},
        {Words({"MacroNotify", "name", "Combo"}), 75, 0, 0, "Combo", "", "MacroNotify name \"Combo\""},
    };
    for (const auto& c : cases) {
        ButtonAssignmentValues v;
        std::string error;
        ASSERT_TRUE(ParseAssignment(c.words, v, error)) << c.words[0] << ": " << error;
        EXPECT_EQ(c.func, v.ButtonFunc) << c.described;
        EXPECT_EQ(c.buttonId, v.ButtonID) << c.described;
        EXPECT_EQ(c.keyNumber, v.KeyNumber) << c.described;
        EXPECT_EQ(c.macroName, v.MacroName) << c.described;
        EXPECT_EQ(c.path, v.Path) << c.described;
        EXPECT_EQ(c.described, DescribeAssignment(v));
    }
}

TEST_F(ButtonAssignmentTextTest, BadAssignmentsAreRefusedWithTheirReason) {
    const struct {
        std::vector<std::string> words;
        const char* error;
    } cases[] = {
        {Words({}), "missing function name"},
        {Words({"Jump"}), "unknown function 'Jump'"},
        {Words({"256"}), "unknown function '256'"},
        {Words({"-1"}), "unknown function '-1'"},
        {Words({"KeyboardKey"}), "KeyboardKey needs a key (key NAME)"},
        {Words({"KeyboardKey", "key"}), "missing value after 'key'"},
        {Words({"KeyboardKey", "key", "Hyper"}), "unknown key 'Hyper'"},
        {Words({"KeyboardKey", "key", "A", "key", "B"}), "'key' given twice"},
        {Words({"KeyboardKey", "key", "A", "colour", "red"}),
         "unknown word 'colour' (expected key, macro, mode, path or name)"},
        {Words({"LeftButton", "key", "A"}), "LeftButton takes no key"},
        {Words({"KeyboardKey", "key", "A", "mode", "held"}), "KeyboardKey takes no mode"},
        {Words({"MacroOnce", "macro", "A+", "mode", "held"}), "MacroOnce takes no mode"},
        {Words({"Macro"}), "Macro needs macro events (macro \"A+ 40ms A-\")"},
        {Words({"Macro", "macro", "A+", "mode", "0"}),
         "the mode '0' is neither held, toggle nor a number of passes 1 to 65534"},
        {Words({"Macro", "macro", "A+", "mode", "65535"}),
         "the mode '65535' is neither held, toggle nor a number of passes 1 to 65534"},
        {Words({"Macro", "macro", "A+ 30ms"}), "the wait '30ms' is not a multiple of 20 ms"},
        {Words({"LaunchProgram"}), "LaunchProgram needs a path (path TEXT)"},
        {Words({"LaunchProgram", "path", ""}), "the path is empty"},
        {Words({"LaunchProgram", "path", "a\nb"}), "the path holds a control character"},
        {Words({"LaunchProgram", "path", std::string(260, 'p').c_str()}),
         "the path is longer than 259 characters"},
        {Words({"MacroNotify"}), "MacroNotify needs a macro name (name TEXT)"},
        {Words({"MacroNotify", "name", ""}), "MacroNotify needs a name that is not empty"},
        {Words({"MacroOnce", "macro", "A+", "name", std::string(50, 'n').c_str()}),
         "the name is longer than 49 characters"},
        {Words({"34", "key", "A"}), "function 34 takes no key"},
    };
    for (const auto& c : cases) {
        ButtonAssignmentValues v;
        v.ButtonFunc = 99;
        std::string error;
        EXPECT_FALSE(ParseAssignment(c.words, v, error)) << c.error;
        EXPECT_EQ(c.error, error);
        EXPECT_EQ(99, v.ButtonFunc) << "refused words leave the values alone: " << c.error;
    }
}

TEST_F(ButtonAssignmentTextTest, ButtonAndProfileIndicesAreBounded) {
    const struct {
        const char* text;
        bool button, profile;
    } cases[] = {
        {"0", true, true},   {"5", true, true},   {"6", true, false}, {"9", true, false},
        {"10", false, false}, {"-1", false, false}, {"", false, false}, {"3x", false, false},
        {"0x3", true, true}, {" 3", false, false},
    };
    for (const auto& c : cases) {
        int index = -7;
        std::string error;
        EXPECT_EQ(c.button, ParseButtonIndex(c.text, index, error)) << c.text;
        EXPECT_EQ(c.profile, ParseProfileIndex(c.text, index, error)) << c.text;
    }
    int index = 0;
    std::string error;
    ParseButtonIndex("10", index, error);
    EXPECT_EQ("the button index '10' is not a number 0 to 9", error);
    ParseProfileIndex("x", index, error);
    EXPECT_EQ("the profile 'x' is not a number 0 to 5", error);
}

}  // namespace
