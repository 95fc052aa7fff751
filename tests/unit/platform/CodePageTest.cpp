// The host's table conversion of the system's ANSI code page. The tables
// themselves are checked against the platform's conversion under Wine
// (tests/wine/config/CodePageConformanceTest.cpp); these cases pin the rules
// the tables are applied with.
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/fake/FakePlatform.h"

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Units(const Text& text) {
    std::string out;
    char unit[8];
    for (char16_t c : text) {
        std::snprintf(unit, sizeof unit, "%s%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
        out += unit;
    }
    return out;
}

struct DecodeCase {
    const char* name;
    unsigned codePage;
    std::string bytes;
    Text text;
};

TEST(CodePage, DecodesEachCodePageByItsTable) {
    const DecodeCase cases[] = {
        {"Cyrillic word in 1251", 1251, "\xC8\xE3\xF0\xE0", u"\u0418\u0433\u0440\u0430"},
        {"the same bytes in 1252", 1252, "\xC8\xE3\xF0\xE0", u"\u00C8\u00E3\u00F0\u00E0"},
        {"1252 euro and an unassigned byte", 1252, "\x80\x81", u"\u20AC\u0081"},
        {"1251 high controls", 1251, "\x80\x98\xB9", u"\u0402\u0098\u2116"},
        {"Japanese word in 932", 932, "\x83\x51\x81\x5B\x83\x80", u"\u30B2\u30FC\u30E0"},
        {"kanji and ASCII in 932", 932, "a\x93\xFA\x96\x7B=1", u"a\u65E5\u672C=1"},
        {"half-width katakana are single bytes", 932, "\xB1\xDF", u"\uFF71\uFF9F"},
        {"a lead byte at the end", 932, "a\x81", u"a\u30FB"},
        {"a lead byte before a zero byte", 932, std::string("\x81\0x", 3), Text(u"\u30FB\0x", 3)},
        {"a lead byte takes a line end with it", 932, "\x81\rb", u"\u30FBb"},
        {"a pair with no character", 932, "\x85\x40", u"\u30FB"},
        {"user-defined area", 932, "\xF0\x40\xF9\xFC", u"\uE000\uE757"},
    };
    for (const DecodeCase& c : cases) {
        const auto codePage = MakeTableCodePage(c.codePage);
        ASSERT_NE(codePage, nullptr) << c.name;
        EXPECT_EQ(Units(codePage->Decode(c.bytes)), Units(c.text)) << c.name;
    }
}

struct EncodeCase {
    const char* name;
    unsigned codePage;
    Text text;
    std::string bytes;
};

TEST(CodePage, EncodesAsThePlatformChooses) {
    const EncodeCase cases[] = {
        {"Cyrillic in 1251", 1251, u"\u0418\u0433\u0440\u0430", "\xC8\xE3\xF0\xE0"},
        {"Cyrillic in 1252 has no bytes", 1252, u"\u0418\u0433", "??"},
        {"best fit in 1252", 1252, u"\u0100\u2212", "A-"},
        {"best fit in 1251", 1251, u"\u0100", "A"},
        {"a character outside 932", 932, u"\u0418\u20AC", "\x84\x49?"},
        {"Japanese in 932", 932, u"\u30B2\u30FC\u30E0", "\x83\x51\x81\x5B\x83\x80"},
        // Characters stored twice in 932 go out as the platform writes them.
        {"the lower of two sequences", 932, u"\u2252\u2116", "\x81\xE0\x87\x82"},
        {"the platform's preferred duplicate", 932, u"\u2170", "\xFA\x40"},
        {"yen sign best fit", 932, u"\u00A5", "\x5C"},
        {"each half of a surrogate pair", 1252, u"\U0001F600", "??"},
    };
    for (const EncodeCase& c : cases) {
        const auto codePage = MakeTableCodePage(c.codePage);
        ASSERT_NE(codePage, nullptr) << c.name;
        EXPECT_EQ(Hex(codePage->Encode(c.text)), Hex(c.bytes)) << c.name;
    }
}

TEST(CodePage, EveryCharacterOfACodePageComesBackUnchanged) {
    for (unsigned id : {1252u, 1251u, 932u}) {
        SCOPED_TRACE(id);
        const auto codePage = MakeTableCodePage(id);
        ASSERT_NE(codePage, nullptr);
        EXPECT_EQ(codePage->Identifier(), id);
        // Every unit that some sequence decodes to is written as a sequence
        // that decodes back to it.
        std::size_t characters = 0;
        for (unsigned unit = 1; unit <= 0xFFFF; ++unit) {
            const Text one(1, static_cast<char16_t>(unit));
            const std::string bytes = codePage->Encode(one);
            if (bytes == "?" && unit != u'?') continue;
            if (codePage->Decode(bytes) != one) continue;  // a best fit
            ++characters;
        }
        EXPECT_GT(characters, id == 932 ? 9000u : 250u);
    }
}

TEST(CodePage, OnlyCodePagesWithTablesAreMade) {
    EXPECT_EQ(MakeTableCodePage(437), nullptr);
    EXPECT_EQ(MakeTableCodePage(0), nullptr);
}

TEST(CodePage, TheFakeSystemStartsWesternAndCanBeSwitched) {
    FakePlatform fake;
    EXPECT_EQ(fake.kernel.SystemAnsiCodePage().Identifier(), 1252u);
    EXPECT_TRUE(fake.kernel.SetAnsiCodePage(932));
    EXPECT_EQ(fake.kernel.SystemAnsiCodePage().Identifier(), 932u);
    EXPECT_FALSE(fake.kernel.SetAnsiCodePage(437));
    EXPECT_EQ(fake.kernel.SystemAnsiCodePage().Identifier(), 932u);
}

}  // namespace
