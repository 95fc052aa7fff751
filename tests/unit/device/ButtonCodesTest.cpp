// The plain rules of the command bytes: button codes, macro blocks, the
// pauses of the macro stream, report rate, stage and logo values.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "contract/ButtonCodes.h"
#include "device/ButtonTable.h"
#include "device/DeviceCommands.h"

namespace {

using Code = std::array<std::uint8_t, 4>;

struct CodeCase {
    int func;
    int index;
    int keyNumber;
    Code code;
};

TEST(ButtonCodesTest, EachFunctionHasItsCode) {
    const CodeCase cases[] = {
        {1, 0, 0, {0x02, 0xF0, 0, 0}},     {2, 0, 0, {0x02, 0xF2, 0, 0}},
        {3, 0, 0, {0x02, 0xF1, 0, 0}},     {5, 0, 0, {0x02, 0xF9, 0, 0}},
        {6, 0, 0, {0x71, 0x08, 0, 0}},     {11, 0, 0, {0x02, 0xF7, 0, 0}},
        {24, 0, 0, {0x04, 0, 0, 0xCD}},    {25, 0, 0, {0x04, 0, 0, 0xE9}},
        {26, 0, 0, {0x04, 0, 0, 0xEA}},    {27, 0, 0, {0x04, 0, 0, 0xB5}},
        {28, 0, 0, {0x04, 0, 0, 0xB6}},    {29, 0, 0, {0x71, 0xF0, 0, 0}},
        {30, 0, 0, {0x71, 0x05, 0, 0}},    {34, 0, 0, {0x73, 0x01, 0, 0}},
        {39, 0, 0, {0x73, 0x06, 0, 0}},    {44, 7, 9, {0x53, 0, 0, 0x07}},
        {47, 0, 0, {0x05, 0, 0, 0x23}},    {49, 0, 0, {0, 0, 0, 0}},
        {52, 0, 0, {0x70, 0x02, 0, 0}},    {56, 0, 0, {0x70, 0x06, 0, 0}},
        {61, 0, 0, {0x70, 0x01, 0, 0}},    {62, 5, 0, {0x53, 0, 0, 0}},
        {63, 0, 0, {0x71, 0xF0, 0, 0}},    {64, 0, 0, {0x71, 0x07, 0, 0}},
        {71, 0, 0, {0x04, 0, 0, 0xE2}},    {72, 3, 0x2A, {0, 0x2A, 0, 0}},
        {73, 9, 0, {0x53, 0, 0, 0x09}},    {12, 0, 0, {0, 0, 0, 0}},
        {0, 0, 0, {0, 0, 0, 0}},           {255, 0, 0, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "ButtonFunc " << c.func);
        EXPECT_EQ(ButtonCodeFor(static_cast<std::uint8_t>(c.func), c.index,
                                static_cast<std::uint8_t>(c.keyNumber)),
                  c.code);
    }
}

TEST(ButtonCodesTest, TheTableIsUsableAtCompileTime) {
    static_assert(ButtonCodeFor(44, 2, 0)[3] == 2, "macro code carries the index");
    static_assert(ButtonCodeFor(72, 0, 0x1E)[1] == 0x1E, "key code carries KeyNumber");
    static_assert(IsMacroBlockStartReport(340) && !IsMacroBlockStartReport(339), "pauses");
    SUCCEED();
}

TEST(ButtonCodesTest, PausesComeAtTheFirstReportOfEachBlock) {
    std::vector<int> starts;
    for (int j = 0; j < static_cast<int>(kMacroAreaReports); ++j)
        if (IsMacroBlockStartReport(j)) starts.push_back(j);
    EXPECT_EQ(starts, (std::vector<int>{0, 38, 76, 114, 151, 189, 227, 265, 302, 340}));
    EXPECT_EQ(kMacroAreaReports, 378u);
}

ProfileRecord ZeroProfile() {
    ProfileRecord p;
    std::memset(&p, 0, sizeof p);
    return p;
}

TEST(ButtonTableTest, OnlyMacroFunctionsFillTheirBlock) {
    ProfileRecord p = ZeroProfile();
    for (int i = 0; i < kButtonCount; ++i) {
        p.Buttons[i].ButtonID = 0x1234;
        p.Buttons[i].KeyNumber = 4;
        std::memset(p.Buttons[i].ButtonData, 0xAB, kButtonDataSize);
    }
    p.Buttons[1].ButtonFunc = 44;
    p.Buttons[2].ButtonFunc = 62;
    p.Buttons[3].ButtonFunc = 73;
    const ButtonTableImage image = BuildButtonTable(p);
    for (int i = 0; i < kButtonCount; ++i) {
        SCOPED_TRACE(i);
        const std::uint8_t* block = image.MacroArea.data() + i * 302;
        const bool macro = i == 1 || i == 3;
        EXPECT_EQ(block[0], macro ? 0x12 : 0);
        EXPECT_EQ(block[1], macro ? 0x34 : 0);
        EXPECT_EQ(block[5], macro ? 0xAB : 0);
        EXPECT_EQ(block[6], 0);
    }
    EXPECT_EQ(image.Table[4 * 3 + 3], 3);
}

TEST(ButtonTableTest, KeyNumberIsBoundedBy240) {
    ProfileRecord p = ZeroProfile();
    p.Buttons[9].ButtonFunc = 44;
    p.Buttons[9].KeyNumber = 255;
    std::memset(p.Buttons[9].ButtonData, 0xCD, kButtonDataSize);
    const ButtonTableImage image = BuildButtonTable(p);
    const std::uint8_t* block = image.MacroArea.data() + 9 * 302;
    EXPECT_EQ(block[2 + 239], 0xCD);
    EXPECT_EQ(block[2 + 240], 0);
    EXPECT_EQ(image.MacroArea.size(), 3020u);
    EXPECT_TRUE(image.HasMacros());
    EXPECT_FALSE(BuildButtonTable(ZeroProfile()).HasMacros());
}

TEST(CommandRulesTest, PollingRateStageAndLogoValues) {
    const std::pair<int, int> rates[] = {{0, 3}, {1, 1}, {2, 0}, {3, 0}, {-1, 0}, {99, 0}};
    for (auto [r, code] : rates) EXPECT_EQ(PollingRateCode(r), code) << r;
    const std::pair<int, int> stages[] = {{-1, 0}, {-100, 0}, {0, 0}, {3, 3}, {4, 4}, {5, 4}, {7, 4}};
    for (auto [n, sent] : stages) EXPECT_EQ(ClampStage(n), sent) << n;
    const std::pair<int, int> logos[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 0xFF}};
    for (auto [g, sent] : logos) EXPECT_EQ(LogoWireValue(g), sent) << g;
}

}  // namespace
