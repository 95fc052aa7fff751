#include <gtest/gtest.h>

#include "config/IniDocument.h"

namespace {

// Files without a byte-order mark in code page 1252.
const AnsiCodePage& Western() {
    static const auto codePage = MakeTableCodePage(1252);
    return *codePage;
}

IniDocument ParseIniDocument(const std::string& bytes) { return ::ParseIniDocument(bytes, Western()); }
std::string SaveIniDocument(const IniDocument& document) { return ::SaveIniDocument(document, Western()); }

std::string Apply(const std::string& before, const Text& section, const Text& key, const Text& value) {
    IniDocument document = ParseIniDocument(before);
    SetIniValue(document, section, key, value);
    return SaveIniDocument(document);
}

struct WriteCase {
    const char* name;
    std::string before;
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;
    std::string after;
};

// Where the platform's writer puts keys and sections, and how it rewrites
// the rest of the file (observed under Wine).
const WriteCase kWriteCases[] = {
    {"new file", "", u"Setting", u"Profile", u"1", "[Setting]\r\nProfile=1\r\n"},
    {"new section at the end", "[A]\r\nx=1\r\n", u"B", u"y", u"2", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
    {"new key after the last line of its section, blank lines dropped",
     "; top\r\n[setting]\r\n  Profile = 3 \r\nfoo\r\n\r\n\r\n[Other]\nA=1\n\n", u"Setting", u"New", u"v",
     "; top\r\n[setting]\r\nProfile=3\r\nfoo\r\nNew=v\r\n[Other]\r\nA=1\r\n"},
    {"existing key in other case keeps its name", "[SETTING]\r\nPROFILE=1\r\n", u"Setting", u"Profile", u"2",
     "[SETTING]\r\nPROFILE=2\r\n"},
    {"leading blanks of the value dropped", "", u"s", u"k", u"  x y ", "[s]\r\nk=x y \r\n"},
    {"same value leaves the file as it was", "[s]\r\n\r\nk = 1\r\n", u"s", u"k", u"1", "[s]\r\n\r\nk = 1\r\n"},
    {"only the first section of a name is used", "[s]\r\na=1\r\n[S]\r\nb=2\r\n", u"s", u"b", u"3",
     "[s]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},
    {"header name between brackets is trimmed", "[ s ]x\r\nk=1\r\n", u"s", u"k", u"2", "[s]\r\nk=2\r\n"},
    {"a line without a closing bracket is a key", "[s\r\n", u"t", u"k", u"1", "[s\r\n[t]\r\nk=1\r\n"},
    {"CR alone ends a line", "[s]\rk=1\r", u"s", u"j", u"2", "[s]\r\nk=1\r\nj=2\r\n"},
};

TEST(IniDocument, WritesPlaceKeysAndSectionsAsThePlatformDoes) {
    for (const auto& c : kWriteCases) {
        IniDocument document = ParseIniDocument(c.before);
        const bool changed = SetIniValue(document, c.section, c.key, c.value);
        const std::string saved = changed ? SaveIniDocument(document) : c.before;
        EXPECT_EQ(saved, c.after) << c.name;
    }
}

TEST(IniDocument, Utf16FilesStayUtf16AndOthersStayAnsi) {
    const std::string utf16("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\x31\0\r\0\n\0", 22);
    const std::string after = Apply(utf16, u"s", u"n", u"\u00e9");
    EXPECT_EQ(after, utf16 + std::string("n\0=\0\xE9\0\r\0\n\0", 10));

    const std::string ansi = "[s]\r\nk=caf\xE9\r\n";
    EXPECT_EQ(ReadIniString(ParseIniDocument(ansi), u"s", u"k", u"", 100), u"caf\u00e9");
    // The euro sign has a byte in the code page; a CJK character has none.
    EXPECT_EQ(Apply(ansi, u"s", u"n", u"\u4e2d\u20ac"), ansi + "n=?\x80\r\n");
    // Characters outside the code page take the platform's nearest byte where it has one.
    EXPECT_EQ(Apply(ansi, u"s", u"n", u"\u0100\u2212\u0131\u03a9"), ansi + "n=A-iO\r\n");
}

TEST(IniDocument, ReadsMatchSectionsAndKeysWithoutRegardToCase) {
    const IniDocument document = ParseIniDocument("[GROUP1]\r\nname = Some Name \r\nnoequals\r\n");
    EXPECT_EQ(ReadIniString(document, u"group1", u"NAME", u"d", 100), u"Some Name");
    EXPECT_EQ(ReadIniString(document, u" Group1 ", u" Name", u"d", 100), u"Some Name");
    EXPECT_EQ(ReadIniString(document, u"GROUP1", u"noequals", u"dflt  ", 100), u"dflt");
    EXPECT_EQ(ReadIniString(document, u"GROUP2", u"Name", u"", 100), u"");
    EXPECT_EQ(ReadIniInt(document, u"GROUP1", u"missing", -1), -1);
}

TEST(IniDocument, NumbersAreReadThroughAThirtyCharacterText) {
    const IniDocument document = ParseIniDocument(
        "[s]\r\nempty=\r\nlong=00000000000000000000000000012345\r\nquoted=\"42\"\r\n");
    EXPECT_EQ(ReadIniInt(document, u"s", u"empty", -1), -1);
    // 29 characters are kept: the last three digits are lost.
    EXPECT_EQ(ReadIniInt(document, u"s", u"long", -1), 12);
    EXPECT_EQ(ReadIniInt(document, u"s", u"quoted", -1), 42);
}

TEST(IniDocument, ABlockLeavesTheBufferAloneUnlessTaken) {
    const IniDocument document = ParseIniDocument(
        "[s]\r\nok=01020306\r\nbad=01020307\r\nlong=010203060\r\nshort=0102\r\n");
    std::uint8_t buffer[3] = {9, 9, 9};
    EXPECT_FALSE(ReadIniBlock(document, u"s", u"bad", buffer, 3));
    EXPECT_FALSE(ReadIniBlock(document, u"s", u"short", buffer, 3));
    EXPECT_FALSE(ReadIniBlock(document, u"s", u"none", buffer, 3));
    EXPECT_EQ(buffer[0], 9);
    EXPECT_TRUE(ReadIniBlock(document, u"s", u"ok", buffer, 3));
    EXPECT_EQ(buffer[2], 3);
}

TEST(IniDocument, ABlockWithAnythingAfterItsDigitsIsNotTaken) {
    const IniDocument document = ParseIniDocument(
        "[s]\r\nok=01020306  \r\nextra=010203060\r\nword=01020306 x\r\nletter=0G10\r\n");
    std::uint8_t buffer[3] = {9, 9, 9};
    EXPECT_FALSE(ReadIniBlock(document, u"s", u"extra", buffer, 3));
    EXPECT_FALSE(ReadIniBlock(document, u"s", u"word", buffer, 3));
    EXPECT_FALSE(ReadIniBlock(document, u"s", u"letter", buffer, 1));
    EXPECT_EQ(buffer[0], 9);
    // Blanks at the end of a line are not part of its value.
    EXPECT_TRUE(ReadIniBlock(document, u"s", u"ok", buffer, 3));
    EXPECT_EQ(buffer[0], 1);
}

}  // namespace
