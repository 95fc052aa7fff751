// The marker bar's logic: range and position, fill width, position from a
// mouse point, the idle and tracking states with the steps each message
// takes, and what a paint draws.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "ui/MarkerModel.h"

namespace {

using Steps = std::vector<MarkerStep>;

std::string Dump(const Steps& steps) {
    static const char* const names[] = {"CaptureMouse", "ReleaseCapture", "Invalidate", "UpdateNow",
                                        "Default"};
    std::ostringstream out;
    for (MarkerStep step : steps) out << names[static_cast<int>(step)] << " ";
    return out.str();
}

void ExpectSteps(const Steps& actual, const Steps& expected) {
    EXPECT_EQ(actual, expected) << "expected: " << Dump(expected) << "\nactual:   " << Dump(actual);
}

// A bar of 200 × 20 at (10, 5) in its parent, range 0 to 100.
MarkerModel PercentBar() {
    MarkerModel bar;
    bar.Create({10, 5, 210, 25}, u"Caption");
    bar.SetRange(0, 100);
    return bar;
}

TEST(MarkerModelTest, FillWidthIsTheShareOfTheRange) {
    struct Case {
        int width, position, minimum, maximum, fill;
    };
    const Case cases[] = {
        {200, 50, 0, 100, 100},  {200, 0, 0, 100, 0},     {200, 100, 0, 100, 200},
        {200, 33, 0, 100, 66},   {3, 1, 0, 2, 1},         {400, 7, 0, 10, 280},
        {200, 15, 10, 20, 100},  {200, 5, 5, 5, 0},       {200, 50, 100, 0, 0},
        {200, 150, 0, 100, 200}, {200, -20, 0, 100, 0},   {0, 50, 0, 100, 0},
        {-5, 50, 0, 100, 0},     {INT_MAX, INT_MAX - 1, 0, INT_MAX, INT_MAX - 1},
        {100, 0, INT_MIN, INT_MAX, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << " position " << c.position
                                        << " range " << c.minimum << ".." << c.maximum);
        EXPECT_EQ(MarkerFillWidth(c.width, c.position, c.minimum, c.maximum), c.fill);
    }
}

TEST(MarkerModelTest, SetPositionOutsideTheRangeFallsBackToTheMinimum) {
    struct Case {
        int requested, position;
    };
    const Case cases[] = {{101, 0}, {-5, 0}, {100, 100}, {0, 0}, {50, 50}, {INT_MIN, 0}, {INT_MAX, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "SetPosition(" << c.requested << ")");
        MarkerModel bar = PercentBar();
        bar.SetPosition(37);
        ExpectSteps(bar.SetPosition(c.requested), {MarkerStep::Invalidate, MarkerStep::UpdateNow});
        EXPECT_EQ(bar.position(), c.position);
    }
    MarkerModel other;
    other.Create({0, 0, 10, 10}, u"");
    other.SetRange(20, 30);
    other.SetPosition(31);
    EXPECT_EQ(other.position(), 20);
}

TEST(MarkerModelTest, CreationGivesTheInitialState) {
    MarkerModel bar = PercentBar();
    bar.SetPosition(60);
    bar.OnLButtonDown(3, 4);
    bar.setDraggingAllowed(false);
    bar.Create({1, 2, 3, 4}, u"x");
    EXPECT_FALSE(bar.tracking());
    EXPECT_TRUE(bar.draggingAllowed());
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 10);
    EXPECT_EQ(bar.position(), 0);
    EXPECT_EQ(bar.rect().left, 1);
    EXPECT_EQ(bar.rect().bottom, 4);
    EXPECT_EQ(bar.caption(), u"x");
}

TEST(MarkerModelTest, SetRangeKeepsThePosition) {
    MarkerModel bar = PercentBar();
    bar.SetPosition(50);
    bar.SetRange(0, 10);
    EXPECT_EQ(bar.position(), 50);
    EXPECT_EQ(bar.Paint().fillWidth, 200);  // never wider than the bar
}

TEST(MarkerModelTest, APointGivesThePositionOfItsShareOfTheBar) {
    const MarkerRect rect{10, 0, 210, 20};
    struct Case {
        int x, position;
    };
    const Case cases[] = {{-50, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 1}, {110, 50},
                          {209, 99}, {210, 100}, {500, 100}, {INT_MAX, 100}, {INT_MIN, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x);
        EXPECT_EQ(PositionFromPoint(c.x, rect, 0, 100), c.position);
    }
    EXPECT_EQ(PositionFromPoint(60, {10, 0, 210, 20}, 20, 30), 22);
    EXPECT_FALSE(PositionFromPoint(60, {10, 0, 10, 20}, 0, 100).has_value());
    EXPECT_FALSE(PositionFromPoint(60, {30, 0, 10, 20}, 0, 100).has_value());
}

TEST(MarkerModelTest, ReleaseLeftOfTheBarGivesTheMinimumRightOfItTheMaximum) {
    MarkerModel bar = PercentBar();
    bar.SetPosition(50);
    ExpectSteps(bar.OnLButtonUp(-40),
                {MarkerStep::Default, MarkerStep::ReleaseCapture, MarkerStep::Invalidate});
    EXPECT_EQ(bar.position(), 0);
    ExpectSteps(bar.OnLButtonUp(900),
                {MarkerStep::Default, MarkerStep::ReleaseCapture, MarkerStep::Invalidate});
    EXPECT_EQ(bar.position(), 100);
}

TEST(MarkerModelTest, DraggingMovesThePositionUntilRelease) {
    MarkerModel bar = PercentBar();
    ExpectSteps(bar.OnLButtonDown(7, 8), {MarkerStep::CaptureMouse, MarkerStep::Default});
    EXPECT_TRUE(bar.tracking());
    EXPECT_EQ(bar.pressX(), 7);
    EXPECT_EQ(bar.pressY(), 8);

    std::vector<int> positions;
    for (int x : {30, 110, 190, 400, -3}) {
        ExpectSteps(bar.OnMouseMove(x), {MarkerStep::Invalidate, MarkerStep::Default});
        positions.push_back(bar.position());
    }
    EXPECT_EQ(positions, (std::vector<int>{10, 50, 90, 100, 0}));

    ExpectSteps(bar.OnLButtonUp(160),
                {MarkerStep::Default, MarkerStep::ReleaseCapture, MarkerStep::Invalidate});
    EXPECT_FALSE(bar.tracking());
    EXPECT_EQ(bar.position(), 75);

    // Idle again: moves change nothing.
    ExpectSteps(bar.OnMouseMove(30), {MarkerStep::Default});
    EXPECT_EQ(bar.position(), 75);
}

TEST(MarkerModelTest, NoTrackingWhenDraggingIsNotAllowed) {
    MarkerModel bar = PercentBar();
    bar.setDraggingAllowed(false);
    ExpectSteps(bar.OnLButtonDown(7, 8), {MarkerStep::Default});
    EXPECT_FALSE(bar.tracking());
    ExpectSteps(bar.OnMouseMove(110), {MarkerStep::Default});
    EXPECT_EQ(bar.position(), 0);
}

TEST(MarkerModelTest, LosingTheCaptureOrTheFocusEndsTracking) {
    MarkerModel bar = PercentBar();
    ExpectSteps(bar.OnCaptureChanged(), {MarkerStep::Default});
    bar.OnLButtonDown(0, 0);
    ExpectSteps(bar.OnCaptureChanged(),
                {MarkerStep::ReleaseCapture, MarkerStep::Invalidate, MarkerStep::Default});
    EXPECT_FALSE(bar.tracking());
    ExpectSteps(bar.OnMouseMove(110), {MarkerStep::Default});
    EXPECT_EQ(bar.position(), 0);

    bar.OnLButtonDown(0, 0);
    ExpectSteps(bar.OnKillFocus(), {MarkerStep::Default, MarkerStep::Invalidate});
    EXPECT_FALSE(bar.tracking());
    ExpectSteps(bar.OnKillFocus(), {MarkerStep::Default, MarkerStep::Invalidate});
}

TEST(MarkerModelTest, ABarWithoutWidthKeepsItsPositionOnMouseInput) {
    MarkerModel bar;
    bar.Create({10, 0, 10, 20}, u"");
    bar.SetRange(0, 100);
    bar.SetPosition(40);
    bar.OnLButtonDown(0, 0);
    bar.OnMouseMove(500);
    bar.OnLButtonUp(-500);
    EXPECT_EQ(bar.position(), 40);
    EXPECT_EQ(bar.Paint().fillWidth, 0);
}

TEST(MarkerModelTest, PaintDrawsTheFillAndTheCaptionOverTheWholeBar) {
    MarkerModel bar = PercentBar();
    bar.SetPosition(50);
    const MarkerPaint paint = bar.Paint();
    EXPECT_EQ(paint.width, 200);
    EXPECT_EQ(paint.height, 20);
    EXPECT_EQ(paint.fillWidth, 100);
    EXPECT_TRUE(paint.transparentText);
    ASSERT_TRUE(paint.caption.has_value());
    EXPECT_EQ(paint.caption->text, u"Caption");
    // The off-screen bitmap starts at the bar's own corner.
    EXPECT_EQ(paint.caption->rect.left, 0);
    EXPECT_EQ(paint.caption->rect.top, 0);
    EXPECT_EQ(paint.caption->rect.right, 200);
    EXPECT_EQ(paint.caption->rect.bottom, 20);
    EXPECT_EQ(paint.caption->format, 0x8825u);  // centred, one line, no prefix, ellipsis

    MarkerModel plain;
    plain.Create({0, 0, 50, 10}, u"");
    EXPECT_FALSE(plain.Paint().caption.has_value());
    MarkerModel reversed;
    reversed.Create({50, 10, 0, 0}, u"x");
    EXPECT_EQ(reversed.Paint().width, 0);
    EXPECT_EQ(reversed.Paint().height, 0);
}

TEST(MarkerModelTest, CaptionFormatIsCentredSingleLineUnprefixedEllipsis) {
    EXPECT_EQ(MarkerCaptionFormat(), 0x0001u | 0x0004u | 0x0020u | 0x0800u | 0x8000u);
}

}  // namespace
