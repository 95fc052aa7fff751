#include <gtest/gtest.h>

#include "config/IniValues.h"

namespace {

struct NumberCase {
    const char16_t* text;
    std::int32_t expected;
};

// Results of the platform's integer reader on these texts, observed under Wine.
constexpr NumberCase kNumberCases[] = {
    {u"12", 12},           {u"  12abc", 12},       {u"-5", -5},          {u"+7", 7},
    {u"0x1F", 31},         {u"  -0x10", -16},      {u"abc", 0},          {u"4294967295", -1},
    {u"99999999999", 1215752191}, {u"0b101", 5},   {u"0o17", 15},        {u"1 2", 1},
    {u"--3", 0},           {u"- 3", 0},            {u"0X10", 0},         {u"\t\x01" u"9", 9},
    {u"2147483648", -2147483647 - 1},
};

TEST(IniValues, NumbersReadAsThePlatformReadsThem) {
    for (std::size_t i = 0; i < std::size(kNumberCases); ++i)
        EXPECT_EQ(ParseIniNumber(kNumberCases[i].text), kNumberCases[i].expected) << "case " << i;
}

struct EntryCase {
    const char16_t* stored;
    std::size_t room;
    const char16_t* expected;
};

constexpr EntryCase kEntryCases[] = {
    {u"plain", 100, u"plain"},
    {u"\"quoted\"", 100, u"quoted"},
    {u"'a'", 100, u"a"},
    {u"\"a", 100, u"\"a"},      // unmatched quote stays
    {u"\"", 100, u"\""},        // a lone quote is text
    {u"''", 100, u""},
    {u"abcdef", 4, u"abc"},     // cut to room - 1
    {u"\"abcdef\"", 4, u"abc"}, // too long: the closing quote is never reached
    {u"\"abc\"", 4, u"ab"},     // room equals the quoted length: one more goes
    {u"x", 0, u""},
};

TEST(IniValues, TextsLoseEnclosingQuotesAndAreCutToTheirRoom) {
    for (std::size_t i = 0; i < std::size(kEntryCases); ++i)
        EXPECT_EQ(CopyIniEntry(kEntryCases[i].stored, kEntryCases[i].room), Text(kEntryCases[i].expected))
            << "case " << i;
}

TEST(IniValues, BlocksAreUpperCaseHexWithTheLowByteOfTheSum) {
    const std::uint8_t bytes[] = {0x01, 0xAB, 0xFF, 0x00, 0x7E};
    // 0x01 + 0xAB + 0xFF + 0x7E = 0x229 -> 0x29
    EXPECT_EQ(EncodeIniBlock(bytes, sizeof bytes), u"01ABFF007E29");
    EXPECT_EQ(EncodeIniBlock(nullptr, 0), u"00");
    const auto back = DecodeIniBlock(u"01ABFF007E29", sizeof bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + sizeof bytes), *back);
}

struct BlockCase {
    const char16_t* text;
    std::size_t size;
    bool taken;
};

constexpr BlockCase kBlockCases[] = {
    {u"01020306", 3, true},
    {u"0a0b0c21", 3, true},    // lower case digits are read
    {u"01020307", 3, false},   // checksum does not match
    {u"010203", 3, false},     // too short
    {u"0102030600", 3, false}, // too long
    {u"01020X06", 3, false},   // X is not a hexadecimal digit
    {u"0G10", 1, false},       // G read as 16 would make 0x10 with a matching checksum
    {u"1Z33", 1, false},       // Z read as 35 would make 0x33 with a matching checksum
    {u"100G", 1, false},       // a checksum digit past F
    {u"01 20306", 3, false},   // not a digit
    {u"", 0, false},
    {u"00", 0, true},
};

TEST(IniValues, BlocksAreTakenOnlyWithTheRightLengthDigitsAndChecksum) {
    for (std::size_t i = 0; i < std::size(kBlockCases); ++i)
        EXPECT_EQ(DecodeIniBlock(kBlockCases[i].text, kBlockCases[i].size).has_value(), kBlockCases[i].taken)
            << "case " << i;
}

}  // namespace
