#include <gtest/gtest.h>

#include <cstring>

#include "config/RecordBytes.h"

namespace {

TEST(RecordBytes, StagesAreTwelveLittleEndianBytesEach) {
    DpiStage stages[kStageCount] = {{1, 16, 16}, {0, 0x01020304, -1}, {}, {}, {1, 8, 8}};
    const StageBlock bytes = StagesToBytes(stages);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[4], 16);
    EXPECT_EQ(bytes[12 + 4], 0x04);
    EXPECT_EQ(bytes[12 + 7], 0x01);
    EXPECT_EQ(bytes[12 + 8], 0xFF);
    EXPECT_EQ(bytes[48], 1);
    DpiStage back[kStageCount];
    StagesFromBytes(bytes, back);
    EXPECT_EQ(std::memcmp(back, stages, sizeof stages), 0);
}

TEST(RecordBytes, MacroListEndsAtTheFirstZeroKeyOrAfterEightyEvents) {
    std::uint8_t data[kButtonDataSize] = {};
    EXPECT_EQ(MacroEventCount(data), 0u);
    data[2] = 0x04;
    data[5] = 0xB7;
    EXPECT_EQ(MacroEventCount(data), 2u);
    std::memset(data, 0x11, sizeof data);
    EXPECT_EQ(MacroEventCount(data), 80u);
    const MacroEvent event = MacroEventAt(data, 79);
    EXPECT_EQ(event.Key(), 0x11);
    EXPECT_EQ(event.Delay(), 0x1111);
    EXPECT_FALSE(event.IsPress());
    EXPECT_EQ(MacroEventAt(data, 80).Key(), 0);  // past the record: nothing is read
}

TEST(RecordBytes, KeyNumberAsALengthStaysInsideButtonData) {
    EXPECT_EQ(BoundedMacroLength(0), 0u);
    EXPECT_EQ(BoundedMacroLength(240), 240u);
    EXPECT_EQ(BoundedMacroLength(241), 240u);
    EXPECT_EQ(BoundedMacroLength(255), 240u);
}

}  // namespace
