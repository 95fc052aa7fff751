// The marker bar as a window on the fake platform: what creation makes, the
// fill it paints, positions out of range, and the mouse: press, drag,
// release inside and outside, and a lost capture.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include "tests/unit/ui/SkinFixture.h"
#include "ui/CDMarker.h"

namespace {

using skintest::FilledColumns;
using skintest::kFaceColour;
using skintest::kFilledColour;

constexpr int kLeft = 10;
constexpr int kTop = 5;
constexpr int kBarWidth = 200;
constexpr int kBarHeight = 20;

LPARAM Point(int x, int y) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) | static_cast<std::uint32_t>(x & 0xFFFF));
}

class CDMarkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        ASSERT_TRUE(parent.CreateEx(0, u"ParentClass", u"Parent", WS_POPUP | WS_VISIBLE, 100, 200, 300, 50, nullptr));
        ASSERT_TRUE(bar.CreateMarker(kLeft, kTop, kLeft + kBarWidth, kTop + kBarHeight, u"Saving", &parent, 7));
        emptySource.Attach(fake.graphics.MakeBitmap(300, 50, std::vector<std::uint32_t>(300 * 50, kFaceColour)));
        filledSource.Attach(fake.graphics.MakeBitmap(300, 50, std::vector<std::uint32_t>(300 * 50, kFilledColour)));
        bar.SetImages(0, 0, kBarWidth, kBarHeight, emptySource, filledSource);
        fake.windows.PumpMessages();
    }
    void TearDown() override {
        parent.DestroyWindow();
        EXPECT_TRUE(fake.graphics.Misuses().empty());
    }

    int Filled() { return FilledColumns(fake, bar.GetSafeHwnd(), kBarWidth, kBarHeight / 2); }
    void Send(UINT message, int x, int y) { fake.windows.SendMessageW(bar.GetSafeHwnd(), message, 0, Point(x, y)); }

    FakePlatform fake;
    // Lets the members below release their handles through the fake first.
    struct PlatformScope {
        ~PlatformScope() { SetPlatform(nullptr); }
    } platformScope;
    CWnd parent;
    CDMarker bar;
    CBitmap emptySource;
    CBitmap filledSource;
};

TEST_F(CDMarkerTest, CreationMakesAVisibleTabStopChildAtItsRectangleIdleWithRangeZeroToTen) {
    const FakeWindow* window = fake.windows.Window(bar.GetSafeHwnd());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->style, 0x50010000u);
    EXPECT_EQ(window->parent, parent.GetSafeHwnd());
    EXPECT_EQ(window->childId, 7u);
    EXPECT_EQ(bar.GetControlId(), 7);
    EXPECT_EQ(window->className, kPlainChildWindowClass);
    EXPECT_TRUE(window->title.empty());
    RECT onScreen{};
    ASSERT_TRUE(fake.windows.GetWindowRect(bar.GetSafeHwnd(), &onScreen));
    EXPECT_EQ(onScreen.left, 100 + kLeft);  // the parent's client area starts at (100, 200)
    EXPECT_EQ(onScreen.top, 200 + kTop);
    EXPECT_EQ(onScreen.right, 100 + kLeft + kBarWidth);
    EXPECT_EQ(onScreen.bottom, 200 + kTop + kBarHeight);
    EXPECT_EQ(bar.Model().minimum(), 0);
    EXPECT_EQ(bar.Model().maximum(), 10);
    EXPECT_EQ(bar.GetPosition(), 0);
    EXPECT_FALSE(bar.Model().tracking());
    EXPECT_TRUE(bar.Model().draggingAllowed());
    EXPECT_EQ(Filled(), 0);
    EXPECT_EQ(fake.graphics.WindowPixel(bar.GetSafeHwnd(), 150, 10), kFaceColour);
}

TEST_F(CDMarkerTest, PositionFiftyOfAHundredFillsHalfOfTwoHundredPixels) {
    bar.SetRange(0, 100);
    EXPECT_EQ(Filled(), 0) << "setting the range does not redraw";
    bar.SetPosition(50);
    EXPECT_EQ(Filled(), 100);
    EXPECT_EQ(fake.graphics.WindowPixel(bar.GetSafeHwnd(), 99, 10), kFilledColour);
    EXPECT_EQ(fake.graphics.WindowPixel(bar.GetSafeHwnd(), 100, 10), kFaceColour);
    const auto texts = fake.graphics.DrawnTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().text, u"Saving");
    EXPECT_EQ(texts.back().format, 0x8825u);
    EXPECT_EQ(texts.back().backgroundMode, TRANSPARENT);
    EXPECT_EQ(texts.back().rect.right, kBarWidth);
    EXPECT_EQ(texts.back().rect.bottom, kBarHeight);
}

TEST_F(CDMarkerTest, APositionOutsideTheRangeFallsBackToTheMinimum) {
    struct Case {
        int minimum, maximum, requested, position, filled;
    };
    const Case cases[] = {
        {0, 100, 101, 0, 0},   {0, 100, -5, 0, 0},    {0, 100, 100, 100, 200}, {0, 100, 1, 1, 2},
        {10, 20, 5, 10, 0},    {10, 20, 15, 15, 100}, {10, 20, 21, 10, 0},     {5, 5, 5, 5, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        bar.SetRange(c.minimum, c.maximum);
        bar.SetPosition(c.requested);
        EXPECT_EQ(bar.GetPosition(), c.position) << "case " << i;
        EXPECT_EQ(Filled(), c.filled) << "case " << i;
    }
}

TEST_F(CDMarkerTest, ReleasingLeftOrRightOfTheBarSetsTheMinimumOrTheMaximum) {
    struct Case {
        int releaseX;  // in the bar's client coordinates
        int position;
    };
    // The parent sees the bar from x = 10 to 210: client x maps to x + 10.
    const Case cases[] = {{-30, 0}, {-1, 0}, {0, 0}, {100, 50}, {199, 99}, {200, 100}, {250, 100}, {5000, 100}};
    bar.SetRange(0, 100);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        bar.SetPosition(30);
        Send(WM_LBUTTONDOWN, 50, 10);
        EXPECT_TRUE(bar.Model().tracking());
        EXPECT_EQ(fake.windows.GetCapture(), bar.GetSafeHwnd());
        Send(WM_LBUTTONUP, cases[i].releaseX, 10);
        EXPECT_EQ(bar.GetPosition(), cases[i].position) << "case " << i;
        EXPECT_FALSE(bar.Model().tracking());
        EXPECT_EQ(fake.windows.GetCapture(), nullptr) << "released";
        fake.windows.PumpMessages();
        EXPECT_EQ(Filled(), cases[i].position * 2) << "case " << i;
    }
    // A release without a press sets the position all the same.
    Send(WM_LBUTTONUP, 20, 10);
    EXPECT_EQ(bar.GetPosition(), 10);
}

TEST_F(CDMarkerTest, DraggingMovesTheFillWhileTheButtonIsHeldAndOnlyThen) {
    bar.SetRange(0, 100);
    Send(WM_MOUSEMOVE, 120, 10);
    EXPECT_EQ(bar.GetPosition(), 0) << "no button held";
    Send(WM_LBUTTONDOWN, 0, 10);
    EXPECT_EQ(bar.Model().pressX(), 0);
    EXPECT_EQ(bar.Model().pressY(), 10);
    for (int x : {60, 140, 20}) {
        Send(WM_MOUSEMOVE, x, 10);
        EXPECT_EQ(bar.GetPosition(), x / 2);
        fake.windows.PumpMessages();
        EXPECT_EQ(Filled(), x);
    }
    Send(WM_LBUTTONUP, 20, 10);
    Send(WM_MOUSEMOVE, 180, 10);
    EXPECT_EQ(bar.GetPosition(), 10);

    bar.SetDraggingAllowed(false);
    Send(WM_LBUTTONDOWN, 0, 10);
    EXPECT_FALSE(bar.Model().tracking());
    EXPECT_EQ(fake.windows.GetCapture(), nullptr);
}

TEST_F(CDMarkerTest, LosingTheCaptureOrTheFocusEndsTracking) {
    bar.SetRange(0, 100);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, u"OtherClass", u"Other", WS_POPUP, 0, 0, 10, 10, nullptr));
    Send(WM_LBUTTONDOWN, 40, 10);
    ASSERT_TRUE(bar.Model().tracking());
    fake.windows.SetCapture(other.GetSafeHwnd());  // the bar hears WM_CAPTURECHANGED
    EXPECT_FALSE(bar.Model().tracking());
    Send(WM_MOUSEMOVE, 150, 10);
    EXPECT_EQ(bar.GetPosition(), 0);

    Send(WM_LBUTTONDOWN, 40, 10);
    ASSERT_TRUE(bar.Model().tracking());
    fake.windows.SendMessageW(bar.GetSafeHwnd(), WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(bar.Model().tracking());
    fake.windows.ReleaseCapture();
    other.DestroyWindow();
}

}  // namespace
