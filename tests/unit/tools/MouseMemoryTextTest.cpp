#include "tools/hidsimctl/MemoryText.h"

#include <gtest/gtest.h>

#include "hidsim/ControlCommands.h"
#include "tests/support/ProcessReset.h"

namespace {

class MouseMemoryTextTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessState(); }
};

void PutCode(SimMemory& m, int button, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    const std::uint8_t code[4] = {b0, b1, b2, b3};
    for (int i = 0; i < 4; ++i) m.ButtonTable[button * 4 + i] = code[i];
}

TEST_F(MouseMemoryTextTest, EveryFieldIsSpelledOut) {
    SimMemory m;
    m.ReportRate = 3;
    const std::uint8_t stages[5] = {16, 40, 70, 100, 8};
    for (int i = 0; i < 5; ++i) m.StageX[i] = m.StageY[i] = stages[i];
    m.StageY[4] = 9;
    m.CurrentStage = 2;
    m.LiftOff = 5;
    m.Logo = 0xFF;
    m.UniversalScroll = 1;
    PutCode(m, 0, 0x02, 0xF0, 0, 0);
    PutCode(m, 1, 0x71, 0xF0, 0, 0);
    PutCode(m, 2, 0x00, 0x04, 0, 0);
    PutCode(m, 3, 0x53, 0x00, 0, 3);
    PutCode(m, 4, 0x04, 0x00, 0, 0xE2);
    PutCode(m, 5, 0x53, 0x00, 0, 9);  // a macro code naming another button's block
    PutCode(m, 6, 0xAB, 0xCD, 0, 0);
    // Block 3: play while held, A pressed, 40 ms, A released.
    const std::uint8_t block[] = {0xFF, 0xFF, 0x80, 0x02, 0x04, 0x00, 0x00, 0x04};
    for (std::size_t i = 0; i < sizeof block; ++i) m.MacroArea[3 * 302 + i] = block[i];

    std::string text, error;
    ASSERT_TRUE(DescribeMouseMemory("ok\n" + DescribeMemory(m), text, error)) << error;
    EXPECT_EQ(text,
              "report rate code 3\n"
              "stages x: 16 40 70 100 8\n"
              "stages y: 16 40 70 100 9\n"
              "current stage 2\n"
              "lift-off 5\n"
              "logo 255\n"
              "universal scroll 1\n"
              "state byte 0\n"
              "button 0: 02 f0 00 00  LeftButton\n"
              "button 1: 71 f0 00 00  DpiCycleUp or function 63\n"
              "button 2: 00 04 00 00  KeyboardKey key A\n"
              "button 3: 53 00 00 03  Macro or MacroOnce\n"
              "button 4: 04 00 00 e2  VolumeMute\n"
              "button 5: 53 00 00 09  unknown code\n"
              "button 6: ab cd 00 00  unknown code\n"
              "button 7: 00 00 00 00  nothing assigned\n"
              "button 8: 00 00 00 00  nothing assigned\n"
              "button 9: 00 00 00 00  nothing assigned\n"
              "macro block 3: mode held, events \"A+ 40ms A-\"\n");
}

TEST_F(MouseMemoryTextTest, AnEmptyMacroAreaIsSaidSo) {
    std::string text, error;
    ASSERT_TRUE(DescribeMouseMemory("ok\n" + DescribeMemory(SimMemory{}), text, error)) << error;
    EXPECT_NE(text.find("\nno macro blocks\n"), std::string::npos) << text;
}

TEST_F(MouseMemoryTextTest, AnAnswerThatLacksAFieldOrHasABadAreaIsRefused) {
    const std::string good = DescribeMemory(SimMemory{});
    const struct {
        std::string answer;
        const char* error;
    } cases[] = {
        {"error: mouse not open\n", "the answer has no rate"},
        {good.substr(0, good.find("macros=")), "the answer has no macros"},
        {good.substr(0, good.find("macros=")) + "macros=00\n", "a byte area of the answer has the wrong length or a bad digit"},
        {std::string(good).replace(good.find("buttons=") + 8, 1, "g"),
         "a byte area of the answer has the wrong length or a bad digit"},
    };
    for (const auto& c : cases) {
        std::string text = "untouched", error;
        EXPECT_FALSE(DescribeMouseMemory(c.answer, text, error)) << c.error;
        EXPECT_EQ(c.error, error);
        EXPECT_EQ("untouched", text);
    }
}

}  // namespace
