// The progress dialog on the fake platform: its set-up on creation in order,
// its shape and size from the skin, the keys it swallows, its painting, the
// bitmaps it releases, and how it opens without a skin.
#include "tests/support/ExpectSequence.h"
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include "framework/CWinApp.h"
#include "tests/unit/ui/SkinFixture.h"
#include "ui/ProgressDlg.h"

namespace {

using namespace skintest;

class ProgressDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        fake.kernel.SetModuleFileName(kExe);
        AddDialogTemplate(fake);
        ASSERT_TRUE(owner.CreateEx(0, u"OwnerClass", u"Owner", WS_POPUP, 0, 0, 10, 10, nullptr));
    }
    void TearDown() override {
        owner.DestroyWindow();
        EXPECT_TRUE(fake.graphics.Misuses().empty()) << fake.graphics.Misuses().front();
        SetPlatform(nullptr);
    }

    const FakeWindow& WindowOf(const CWnd& wnd) { return *fake.windows.Window(wnd.GetSafeHwnd()); }

    FakePlatform fake;
    CWnd owner;
};

TEST_F(ProgressDlgTest, CreationLoadsTheSkinBuildsTheBarShapesAndNamesTheWindowInOrder) {
    InstallSkin(fake);
    fake.ClearCalls();
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(&owner));
    const std::string skins = "C:\\Program Files\\Mouse\\skins\\";
    const std::string bmpBytes = "OleLoadPicture 1494";  // 54 + 120 × 12
    const std::string self = FakeHex(reinterpret_cast<std::uintptr_t>(dialog.GetSafeHwnd()));
    ExpectSequence(Events(fake, {"CreateDialogParamW", "CreateWindowExW", "ReadFile", "OleLoadPicture", "GetDC",
                                 "ReleaseDC", "CreateCompatibleBitmap", "StretchBlt", "GetBitmapPixels32",
                                 "ExtCreateRegion", "CombineRgn", "SetWindowRgn", "SetWindowPos",
                                 "SetWindowTextW", "SendMessageW"}),
                   {
                       Step("CreateDialogParamW 129"),
                       Step("CreateWindowExW "),
                       Step("ReadFile " + skins + "updatebar_Mask.BMP"),
                       Step(bmpBytes),
                       Step("ReadFile " + skins + "updatebar_n.jpg"),
                       Step(bmpBytes),
                       Step("ReadFile " + skins + "updatebar_o.jpg"),
                       Step(bmpBytes),
                       Step("ReadFile " + skins + "string_trayicon.ini"),
                       Step("CreateWindowExW "),  // the bar
                       Step("GetDC"),
                       Step("CreateCompatibleBitmap 40x12"),
                       Step("StretchBlt memory 0,0 40x12 <- memory 0,0 40x12"),
                       Step("CreateCompatibleBitmap 40x12"),
                       Step("StretchBlt memory 0,0 40x12 <- memory 0,0 40x12"),
                       Step("ReleaseDC"),
                       Step("GetBitmapPixels32"),
                       Step("ExtCreateRegion"),
                       Step("SetWindowRgn " + self + " region redraw"),
                       Step("SetWindowPos " + self + " top 0 0 40 12 0x16"),
                       Step("SetWindowTextW PEVO_PROCESSBAR"),
                   });
}

TEST_F(ProgressDlgTest, TheWindowTakesTheSkinsSizeAndOutlineWithTheBarAcrossIt) {
    InstallSkin(fake);
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(&owner));
    const FakeWindow& window = WindowOf(dialog);
    EXPECT_EQ(window.title, u"PEVO_PROCESSBAR");
    EXPECT_EQ(window.style, DWORD(WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS)) << "hidden until shown";
    EXPECT_EQ(window.parent, owner.GetSafeHwnd());
    EXPECT_EQ(window.rect.right - window.rect.left, kWidth);
    EXPECT_EQ(window.rect.bottom - window.rect.top, kHeight);
    EXPECT_EQ(dialog.GetSkinWidth(), kWidth);
    EXPECT_EQ(dialog.GetSkinHeight(), kHeight);

    ASSERT_NE(window.region, nullptr);
    EXPECT_EQ(window.region, dialog.Region());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(fake.graphics.RegionContains(window.region, x, y), !InCutCorner(x, y)) << x << "," << y;

    const CDMarker& bar = dialog.ProgressBar();
    const FakeWindow& barWindow = WindowOf(bar);
    EXPECT_EQ(barWindow.parent, dialog.GetSafeHwnd());
    EXPECT_EQ(barWindow.style, 0x50010000u);  // WS_CHILD | WS_VISIBLE | WS_TABSTOP
    EXPECT_EQ(barWindow.childId, 0u);
    EXPECT_TRUE(barWindow.title.empty());
    EXPECT_EQ(bar.Model().rect().right, kWidth);
    EXPECT_EQ(bar.Model().rect().bottom, kHeight);
    EXPECT_EQ(bar.Model().minimum(), 0);
    EXPECT_EQ(bar.Model().maximum(), 100) << "the range is set on dialog initialisation";
    EXPECT_EQ(bar.Model().caption(), u"Writing & saving");
    EXPECT_EQ(dialog.Caption(), u"Writing & saving");
    ASSERT_NE(bar.EmptyFace(), nullptr);
    EXPECT_EQ(fake.graphics.BitmapPixel(bar.EmptyFace(), 3, 3), kFaceColour);
    EXPECT_EQ(fake.graphics.BitmapPixel(bar.FilledFace(), 3, 3), kFilledColour);
}

TEST_F(ProgressDlgTest, EscapeAndEnterAreSwallowedForTheDialogAndItsBar) {
    InstallSkin(fake);
    CWinApp app;
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(&owner));
    struct Case {
        UINT message;
        WPARAM key;
        bool swallowed;
    };
    const Case cases[] = {
        {WM_KEYDOWN, VK_ESCAPE, true}, {WM_KEYDOWN, VK_RETURN, true}, {WM_KEYDOWN, 'A', false},
        {WM_KEYDOWN, VK_LEFT, false},  {WM_KEYUP, VK_ESCAPE, false},  {WM_KEYUP, VK_RETURN, false},
    };
    for (HWND target : {dialog.GetSafeHwnd(), dialog.ProgressBar().GetSafeHwnd()}) {
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            MSG msg{};
            msg.hwnd = target;
            msg.message = cases[i].message;
            msg.wParam = cases[i].key;
            EXPECT_EQ(app.PreTranslateMessage(&msg) != FALSE, cases[i].swallowed) << "case " << i;
        }
    }
    EXPECT_TRUE(fake.windows.IsWindowVisible(dialog.GetSafeHwnd()) == FALSE);
    EXPECT_NE(fake.windows.Window(dialog.GetSafeHwnd()), nullptr);
}

TEST_F(ProgressDlgTest, ShownItPaintsItsFaceWithoutErasingAndTheBarShowsTheProgress) {
    InstallSkin(fake);
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(&owner));
    const HWND window = dialog.GetSafeHwnd();
    const HWND bar = dialog.ProgressBar().GetSafeHwnd();
    dialog.SetProgress(50);  // hidden: nothing is painted yet
    EXPECT_EQ(fake.CallIndex("BeginPaint"), -1);
    fake.windows.ShowWindow(window, SW_SHOW);
    fake.ClearCalls();
    fake.windows.PumpMessages();
    EXPECT_FALSE(fake.windows.HasUpdate(window));
    EXPECT_FALSE(fake.windows.HasUpdate(bar));
    // The face, then the bar composed off screen and copied in one go.
    ExpectSequence(Events(fake, {"BeginPaint", "BitBlt", "DrawTextW", "EndPaint"}),
                   {
                       Step("BeginPaint"),
                       Step("BitBlt window 0,0 40x12 <- memory 0,0"),
                       Step("EndPaint"),
                       Step("BeginPaint"),
                       Step("BitBlt memory 0,0 40x12 <- memory 0,0"),
                       Step("BitBlt memory 0,0 20x12 <- memory 0,0"),
                       Step("DrawTextW Writing & saving 0,0,40,12 0x8825"),
                       Step("BitBlt window 0,0 40x12 <- memory 0,0"),
                       Step("EndPaint"),
                   });
    EXPECT_EQ(fake.graphics.WindowPixel(window, 20, 6), kFaceColour);
    EXPECT_EQ(FilledColumns(fake, bar, kWidth, 6), 20);
    const auto texts = fake.graphics.DrawnTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().backgroundMode, TRANSPARENT);

    // The erase request is answered without drawing anything.
    const std::size_t drawn = fake.graphics.DrawnTexts().size();
    fake.ClearCalls();
    EXPECT_EQ(fake.windows.SendMessageW(window, WM_ERASEBKGND, 0, 0), TRUE);
    EXPECT_EQ(Events(fake, {"BitBlt", "StretchBlt", "BeginPaint"}).size(), 0u);
    EXPECT_EQ(fake.graphics.DrawnTexts().size(), drawn);

    struct Case {
        int percent;
        int filled;
    };
    for (const Case c : {Case{100, 40}, Case{150, 0}, Case{0, 0}, Case{-1, 0}, Case{25, 10}, Case{101, 0}}) {
        dialog.SetProgress(c.percent);  // painted at once, without a message loop
        EXPECT_EQ(FilledColumns(fake, bar, kWidth, 6), c.filled) << c.percent;
    }
}

TEST_F(ProgressDlgTest, DestroyingReleasesTheBitmapsAndTheBarWithTheWindow) {
    InstallSkin(fake);
    const int before = fake.graphics.LiveObjects();
    {
        CProgressDlg dialog;
        ASSERT_TRUE(dialog.Create(&owner));
        const HWND bar = dialog.ProgressBar().GetSafeHwnd();
        fake.windows.ShowWindow(dialog.GetSafeHwnd(), SW_SHOW);
        fake.windows.PumpMessages();
        EXPECT_GT(fake.graphics.LiveObjects(), before);
        fake.windows.ShowWindow(dialog.GetSafeHwnd(), SW_HIDE);
        ASSERT_TRUE(dialog.DestroyWindow());
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_EQ(dialog.MaskImage(), nullptr);
        EXPECT_EQ(dialog.BackgroundImage(), nullptr);
        EXPECT_EQ(fake.windows.Window(bar)->alive, false) << "the bar goes with its dialog";
        EXPECT_EQ(dialog.ProgressBar().GetSafeHwnd(), nullptr);
    }
    EXPECT_EQ(fake.graphics.LiveObjects(), before) << "the faces go with the bar object";
    EXPECT_EQ(fake.graphics.LiveDeviceContexts(), 0);
}

TEST_F(ProgressDlgTest, WithoutSkinsItOpensUnshapedAtTheTemplatesSizeAndDrawsItsOwnBackground) {
    struct Case {
        const char* name;
        bool mask;
        bool faces;
    };
    for (const Case c : {Case{"no skins folder", false, false}, Case{"no mask", false, true},
                         Case{"mask only", true, false}}) {
        SCOPED_TRACE(c.name);
        const SkinFiles files = SkinFilesFor(kExe);
        InstallSkin(fake);
        if (!c.mask) fake.files.RemoveFile(files.mask);
        if (!c.faces) {
            fake.files.RemoveFile(files.background);
            fake.files.RemoveFile(files.filled);
            fake.files.RemoveFile(files.strings);
        }
        fake.ClearCalls();
        CProgressDlg dialog;
        ASSERT_TRUE(dialog.Create(&owner));
        const FakeWindow& window = WindowOf(dialog);
        EXPECT_EQ(window.title, u"PEVO_PROCESSBAR");
        EXPECT_EQ(window.region == nullptr, !c.mask);
        EXPECT_EQ(fake.CallIndex("SetWindowRgn") == -1, !c.mask);
        const int width = c.faces ? kWidth : kTemplateWidth;
        EXPECT_EQ(window.rect.right - window.rect.left, width);
        EXPECT_EQ(dialog.GetSkinWidth(), width);
        EXPECT_EQ(dialog.GetSkinHeight(), c.faces ? kHeight : kTemplateHeight);
        EXPECT_EQ(dialog.Caption().empty(), !c.faces);
        // Without a face the dialog's own background is drawn, not nothing.
        EXPECT_EQ(fake.windows.SendMessageW(dialog.GetSafeHwnd(), WM_ERASEBKGND, 0, 0), TRUE);
        fake.windows.ShowWindow(dialog.GetSafeHwnd(), SW_SHOW);
        fake.windows.PumpMessages();
        dialog.SetProgress(60);
        EXPECT_EQ(dialog.ProgressBar().GetPosition(), 60);
        dialog.DestroyWindow();
    }
}

TEST_F(ProgressDlgTest, AMaskWithoutWhiteKeepsTheWholeRectangle) {
    InstallSkin(fake);
    fake.files.AddFile(SkinFilesFor(kExe).mask, BmpFile(kWidth, kHeight, [](int, int) { return 0x000001u; }));
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(&owner));
    const HRGN region = WindowOf(dialog).region;
    ASSERT_NE(region, nullptr);
    for (POINT p : {POINT{0, 0}, POINT{kWidth - 1, 0}, POINT{0, kHeight - 1}, POINT{kWidth - 1, kHeight - 1}})
        EXPECT_TRUE(fake.graphics.RegionContains(region, p.x, p.y)) << p.x << "," << p.y;
}

}  // namespace
