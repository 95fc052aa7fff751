// The progress dialog's plain decisions: its skin files, its place on the
// screen and the keys it swallows.
#include <gtest/gtest.h>

#include <climits>

#include "platform/Text.h"
#include "ui/ProgressDialogRules.h"

namespace {

TEST(ProgressDialogRulesTest, TheExecutablesFolderIsItsDriveAndDirectory) {
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Mouse\\mousehid.exe", "C:\\Program Files\\Mouse\\"},
        {"C:\\mousehid.exe", "C:\\"},
        {"C:/tools/x/mousehid.exe", "C:/tools/x/"},
        {"\\\\server\\share\\mousehid.exe", "\\\\server\\share\\"},
        {"C:mousehid.exe", "C:"},
        {"mousehid.exe", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(TextToUtf8(ExecutableFolder(TextFromUtf8(c.path))), c.folder);
    }
}

TEST(ProgressDialogRulesTest, SkinFilesLieInTheSkinsFolderBesideTheExecutable) {
    const SkinFiles files = SkinFilesFor(u"D:\\Mouse\\mousehid.exe");
    EXPECT_EQ(files.mask, u"D:\\Mouse\\skins\\updatebar_Mask.BMP");
    EXPECT_EQ(files.background, u"D:\\Mouse\\skins\\updatebar_n.jpg");
    EXPECT_EQ(files.filled, u"D:\\Mouse\\skins\\updatebar_o.jpg");
    EXPECT_EQ(files.strings, u"D:\\Mouse\\skins\\string_trayicon.ini");
}

TEST(ProgressDialogRulesTest, TheDialogIsCentredByIntegerDivision) {
    struct Case {
        int screenWidth, screenHeight, skinWidth, skinHeight, x, y;
    };
    const Case cases[] = {
        {1920, 1080, 400, 128, 760, 476}, {1025, 769, 400, 128, 312, 320},
        {1024, 768, 0, 0, 512, 384},      {300, 100, 400, 128, -50, -14},
        {301, 100, 400, 127, -49, -13},   {INT_MAX, INT_MAX, INT_MIN, 0, INT_MAX, INT_MAX / 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screenWidth << "x" << c.screenHeight << " skin "
                                        << c.skinWidth << "x" << c.skinHeight);
        const ScreenPoint at = CentredOnScreen(c.screenWidth, c.screenHeight, c.skinWidth, c.skinHeight);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
    }
}

TEST(ProgressDialogRulesTest, OnlyEscapeAndEnterKeyDownsAreSwallowed) {
    struct Case {
        unsigned message;
        unsigned key;
        bool swallowed;
    };
    const Case cases[] = {
        {0x0100, 0x1B, true},  {0x0100, 0x0D, true},  {0x0100, 0x41, false}, {0x0100, 0x20, false},
        {0x0101, 0x1B, false}, {0x0101, 0x0D, false}, {0x0102, 0x0D, false}, {0x0104, 0x1B, false},
        {0x0000, 0x1B, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "message " << c.message << " key " << c.key);
        EXPECT_EQ(IsSwallowedDialogKey(c.message, c.key), c.swallowed);
    }
}

TEST(ProgressDialogRulesTest, FixedValues) {
    EXPECT_EQ(kProgressDialogTemplate, 129);
    EXPECT_EQ(Text(kProgressDialogOwnTitle), u"PEVO_PROCESSBAR");
    EXPECT_EQ(Text(kProgressDialogTitle), u"QZNDorvantisProgressbar");
    EXPECT_EQ(Text(kSkinTextSection), u"TRAY_STRING");
    EXPECT_EQ(Text(kSkinCaptionKey), u"3");
    const TransparentRanges white = TransparentRangesFor(kMaskTransparentColour, kMaskTolerance);
    EXPECT_EQ(white.red.low, 255);
    EXPECT_EQ(white.blue.high, 255);
    EXPECT_EQ(kProgressMinimum, 0);
    EXPECT_EQ(kProgressMaximum, 100);
}

}  // namespace
