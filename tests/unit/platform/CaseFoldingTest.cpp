// The one case folding of the tree (window titles and classes in the fake,
// INI names, file names of the foreground watch, fake paths): every letter to
// its simple capital, as the system's case-insensitive ordinal comparison.
#include <gtest/gtest.h>

#include "platform/Text.h"

namespace {

struct FoldCase_ {
    char16_t in;
    char16_t folded;
};

TEST(CaseFoldingTest, EachLetterFoldsToItsCapital) {
    const FoldCase_ cases[] = {
        {u'a', u'A'},         {u'z', u'Z'},         {u'A', u'A'},         {u'_', u'_'},
        {u'@', u'@'},         {u'[', u'['},         {u'`', u'`'},         {u'{', u'{'},
        {0xE0, 0xC0},         {0xFE, 0xDE},         {0xFF, 0x178},        {0xB5, 0x39C},
        {0xD7, 0xD7},  // the multiplication sign has no small letter
        {0xF7, 0xF7},  // nor has the division sign a capital
        {0xDF, 0xDF},  // sharp s has no single capital
        {0x3B1, 0x391},       {0x3C1, 0x3A1},       {0x3C3, 0x3A3},       {0x3CB, 0x3AB},
        {0x3C2, 0x3A3},  // final sigma folds with sigma
        {0x3A2, 0x3A2},  // unassigned: itself
        {0x3AC, 0x386},       {0x3AD, 0x388},       {0x3AF, 0x38A},       {0x3CC, 0x38C},
        {0x3CD, 0x38E},       {0x3CE, 0x38F},
        {0x430, 0x410},       {0x44F, 0x42F},       {0x451, 0x401},       {0x45F, 0x40F},
        {0x401, 0x401},       {0x460, 0x460},       {0x100, 0x100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(int(FoldCase(c.in)), int(c.folded)) << std::hex << int(c.in);
}

TEST(CaseFoldingTest, TextsAreEqualWhenTheirLettersFoldAlike) {
    EXPECT_TRUE(EqualsIgnoringCase(u"Game.EXE", u"game.exe"));
    EXPECT_TRUE(EqualsIgnoringCase(u"\u0401\u0416", u"\u0451\u0436"));       // Ёж
    EXPECT_TRUE(EqualsIgnoringCase(u"\u03a3\u03c2", u"\u03c3\u03a3"));       // sigma both ways
    EXPECT_FALSE(EqualsIgnoringCase(u"\u00d7", u"\u00f7"));
    EXPECT_FALSE(EqualsIgnoringCase(u"\u03a2", u"\u03c2"));
    EXPECT_FALSE(EqualsIgnoringCase(u"ss", u"\u00df"));
    EXPECT_FALSE(EqualsIgnoringCase(u"abc", u"ab"));
    EXPECT_TRUE(EqualsIgnoringCase(u"", u""));
}

}  // namespace
