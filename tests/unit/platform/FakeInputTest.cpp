// The input recorder and the fine clock that host tests read.
#include <gtest/gtest.h>

#include "platform/fake/FakeInput.h"
#include "platform/fake/FakePreciseClock.h"

namespace {

TEST(FakeInputTest, RecordsEachEventWithItsArgumentsTimeAndWhetherExtraInformationWasFetchedJustBefore) {
    std::uint64_t now = 5;
    FakeInput input([&] { return now; });
    const LPARAM extra = input.GetMessageExtraInfo();
    input.mouse_event(0x2, 0, 0, 0, static_cast<ULONG_PTR>(extra));
    now = 9;
    input.mouse_event(0x4, 1, 2, static_cast<DWORD>(-120), 7);  // no fetch before this one
    input.keybd_event(0x41, 0x1E, 0x3, 9);
    input.GetMessageExtraInfo();
    input.keybd_event(0x42, 0, 0, 0);
    input.mouse_event(0x800, 0, 0, 120, 0);  // a key event came between fetch and mouse event
    input.SetCursorPos(-3, 40);
    EXPECT_EQ(input.Lines(), (std::vector<std::string>{
                                 "5 mouse flags=0x2 dx=0 dy=0 data=0 extra=0xE001 fresh",
                                 "9 mouse flags=0x4 dx=1 dy=2 data=-120 extra=0x7",
                                 "9 key vk=0x41 scan=30 flags=0x3 extra=0x9",
                                 "9 key vk=0x42 scan=0 flags=0x0 extra=0x0",
                                 "9 mouse flags=0x800 dx=0 dy=0 data=120 extra=0x0",
                                 "9 cursor -3,40",
                             }));
    EXPECT_EQ(input.ExtraInfoQueries(), 2);
    POINT point{};
    EXPECT_TRUE(input.GetCursorPos(&point));
    EXPECT_EQ(point.x, -3);
    EXPECT_EQ(point.y, 40);
    input.SetCursor(POINT{1, 1}, false);
    EXPECT_FALSE(input.GetCursorPos(&point));
    EXPECT_FALSE(input.GetCursorPos(nullptr));
}

TEST(FakePreciseClockTest, WaitsMoveTheMillisecondClockUpToTheDueTimeRoundedUpAndRecordEachYield) {
    std::uint64_t ms = 100;
    FakePreciseClock clock([&] { return ms; }, [&](std::uint64_t step) { ms += step; });
    EXPECT_EQ(clock.NowMicroseconds(), 100000u);
    clock.WaitUntil(120000);
    EXPECT_EQ(ms, 120u);
    clock.WaitUntil(120000);  // already due: no time passes, still one yield
    clock.WaitUntil(50000);
    clock.WaitUntil(120001);
    EXPECT_EQ(ms, 121u);
    ASSERT_EQ(clock.Waits().size(), 4u);
    EXPECT_EQ(clock.Waits()[3].calledAt, 120000u);
    EXPECT_EQ(clock.WaitsAlreadyDue(), 2);
}

}  // namespace
