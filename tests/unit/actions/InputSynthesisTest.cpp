// Media taps, mouse gestures and the action timers: the exact events with
// their flags, data and extra information.
#include <gtest/gtest.h>

#include "actions/ActionTimers.h"
#include "actions/MediaFunction.h"
#include "actions/MouseFunction.h"
#include "ActionTestSupport.h"

namespace {

using acttest::ActionTest;
using acttest::ExpectSequence;
using acttest::KeyLine;
using acttest::MouseLine;

class InputSynthesisTest : public ActionTest {};

struct MediaCase {
    const char* name;
    void (CMediaFunction::*tap)();
    int virtualKey;
};

constexpr MediaCase kMediaCases[] = {
    {"TapPlayPause", &CMediaFunction::TapPlayPause, 0xB3},
    {"TapPreviousTrack", &CMediaFunction::TapPreviousTrack, 0xB1},
    {"TapNextTrack", &CMediaFunction::TapNextTrack, 0xB0},
    {"TapVolumeUp", &CMediaFunction::TapVolumeUp, 0xAF},
    {"TapVolumeDown", &CMediaFunction::TapVolumeDown, 0xAE},
    {"TapMute", &CMediaFunction::TapMute, 0xAD},
};

TEST_F(InputSynthesisTest, EachMediaTapIsAnExtendedKeyDownAndUpWithScanCodeAndExtraZero) {
    for (const MediaCase& c : kMediaCases) {
        SCOPED_TRACE(c.name);
        input.Clear();
        fake.AdvanceClock(7);
        CMediaFunction media;
        (media.*c.tap)();
        const std::uint64_t t = fake.Now();
        ExpectSequence({KeyLine(t, c.virtualKey, 0x1), KeyLine(t, c.virtualKey, 0x3)}, input.Lines());
        EXPECT_EQ(input.ExtraInfoQueries(), 0);
    }
}

TEST_F(InputSynthesisTest, WheelNotchesCarryPlusAndMinusOneHundredTwentyAndFreshExtraInformation) {
    CMouseFunction mouse;
    mouse.SendWheelUp();
    mouse.SendWheelDown();
    ExpectSequence({MouseLine(0, 0x800, 120, 0xE001), MouseLine(0, 0x800, -120, 0xE002)}, input.Lines());
}

TEST_F(InputSynthesisTest, DoubleClickIsFourLeftEventsInARowEachWithItsOwnExtraInformation) {
    input.SetExtraInfoBase(0x7000);
    CMouseFunction mouse;
    mouse.SendDoubleClick();
    ExpectSequence({MouseLine(0, 0x2, 0, 0x7001), MouseLine(0, 0x4, 0, 0x7002),
                    MouseLine(0, 0x2, 0, 0x7003), MouseLine(0, 0x4, 0, 0x7004)},
                   input.Lines());
    EXPECT_EQ(fake.Now(), 0u);
}

class RecordingScrolling final : public HorizontalScrolling {
public:
    void ScrollUnderPointer(int count) override { calls.push_back("under " + std::to_string(count)); }
    void ScrollBrowserHorizontally(int steps, int toLeft) override {
        calls.push_back("browser " + std::to_string(steps) + " " + std::to_string(toLeft));
    }
    std::vector<std::string> calls;
};

TEST_F(InputSynthesisTest, ScrollRequestsGoToTheScrollingWhenOneIsSetAndAreDroppedOtherwise) {
    CMouseFunction mouse;
    mouse.ScrollUnderPointer(3);  // none set yet: nothing happens
    RecordingScrolling scrolling;
    SetScrolling(&scrolling);
    mouse.ScrollUnderPointer(-2);
    mouse.ScrollBrowserHorizontally(1, 1);
    ExpectSequence({"under -2", "browser 1 1"}, scrolling.calls);
    EXPECT_TRUE(input.Lines().empty());
}

TEST_F(InputSynthesisTest, ActionTimersTapVolumeUpVolumeDownAndTabAndIgnoreOtherIds) {
    EXPECT_TRUE(HandleActionTimer(1000));
    EXPECT_TRUE(HandleActionTimer(1001));
    EXPECT_TRUE(HandleActionTimer(100));
    for (UINT_PTR other : {UINT_PTR{0}, UINT_PTR{1}, UINT_PTR{99}, UINT_PTR{515}, UINT_PTR{1002}})
        EXPECT_FALSE(HandleActionTimer(other)) << other;
    ExpectSequence({KeyLine(0, 0xAF, 1), KeyLine(0, 0xAF, 3), KeyLine(0, 0xAE, 1), KeyLine(0, 0xAE, 3),
                    KeyLine(0, 0x09, 1), KeyLine(0, 0x09, 3)},
                   input.Lines());
}

}  // namespace
