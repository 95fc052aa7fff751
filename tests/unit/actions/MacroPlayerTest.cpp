// The macro player and the worker's requests: every event at its absolute
// due time on the virtual clock, the copy at the start of each pass, and the
// play modes' flag.
#include <gtest/gtest.h>

#include "actions/HeldInput.h"
#include "actions/MacroPlayer.h"
#include "actions/MacroWorker.h"
#include "ActionTestSupport.h"

namespace {

using acttest::ActionTest;
using acttest::ExpectSequence;
using acttest::KeyLine;
using acttest::MacroBuilder;
using acttest::MouseLine;

constexpr int kButton = 2;

class MacroPlayerTest : public ActionTest {
protected:
    void UseMacro(const MacroData& data) { host.SetMacro(0, kButton, data); }
};

TEST_F(MacroPlayerTest, KeyPressWithFiveStepsThenReleaseEndsThePassAtOnce) {
    UseMacro(MacroBuilder().Press(0x04, 5).Release(0x04, 0).Build());
    EXPECT_TRUE(PlayMacro(host, kButton));
    ExpectSequence({KeyLine(0, 0x41, 0x1), KeyLine(100, 0x41, 0x3)}, input.Lines());
    EXPECT_EQ(fake.Now(), 100u);
    // The zero delay still yields once: a wait that was already due.
    ASSERT_EQ(clock.Waits().size(), 2u);
    EXPECT_EQ(clock.Waits()[1].due, 100000u);
    EXPECT_EQ(clock.WaitsAlreadyDue(), 1);
}

TEST_F(MacroPlayerTest, DelayIsFifteenBitsOfTwentyMillisecondSteps) {
    UseMacro(MacroBuilder().Raw(0x81, 0x00, 0x05).Raw(0xFF, 0xFF, 0x06).Raw(0x00, 0x00, 0x05).Build());
    PlayMacro(host, kButton);
    ExpectSequence({KeyLine(0, 0x42, 1), KeyLine(5120, 0x43, 1), KeyLine(5120 + 655340, 0x42, 3)},
                   input.Lines());
    EXPECT_EQ(fake.Now(), 5120u + 655340u);
}

TEST_F(MacroPlayerTest, PlaysAllEightyEventsAndStopsAtTheFirstZeroKeyCode) {
    MacroBuilder full;
    for (int i = 0; i < 80; ++i) full.Press(0x04, 1);
    UseMacro(full.Build());
    PlayMacro(host, kButton);
    const auto events = input.Events();
    ASSERT_EQ(events.size(), 80u);
    EXPECT_EQ(events.back().time, 79u * 20u);
    EXPECT_EQ(fake.Now(), 80u * 20u);

    input.Clear();
    UseMacro(MacroBuilder().Press(0x04, 0).Press(0x05, 0).Press(0x06, 0).Raw(0x80, 0, 0).Press(0x07, 0).Build());
    PlayMacro(host, kButton);
    ExpectSequence({KeyLine(1600, 0x41, 1), KeyLine(1600, 0x42, 1), KeyLine(1600, 0x43, 1)}, input.Lines());
}

TEST_F(MacroPlayerTest, MouseButtonCodesSendMouseEventsWithFreshExtraInformationAndNoKeys) {
    UseMacro(MacroBuilder()
                 .Press(0xB7, 1).Release(0xB7, 1)
                 .Press(0xB8, 1).Release(0xB8, 1)
                 .Press(0xB9, 1).Release(0xB9, 0)
                 .Build());
    PlayMacro(host, kButton);
    ExpectSequence({MouseLine(0, 0x02, 0, 0xE001), MouseLine(20, 0x04, 0, 0xE002),
                    MouseLine(40, 0x08, 0, 0xE003), MouseLine(60, 0x10, 0, 0xE004),
                    MouseLine(80, 0x20, 0, 0xE005), MouseLine(100, 0x40, 0, 0xE006)},
                   input.Lines());
}

TEST_F(MacroPlayerTest, KeyWithoutTranslationGoesOutAsVirtualKeyZero) {
    UseMacro(MacroBuilder().Press(0x32, 0).Release(0x32, 0).Build());
    PlayMacro(host, kButton);
    ExpectSequence({KeyLine(0, 0, 1), KeyLine(0, 0, 3)}, input.Lines());
}

TEST_F(MacroPlayerTest, PressesWithoutReleasesLeaveTheKeysDown) {
    UseMacro(MacroBuilder().Press(0xE1, 1).Press(0x04, 1).Press(0xB7, 0).Build());
    PlayMacro(host, kButton);
    ExpectSequence({KeyLine(0, 0xA0, 1), KeyLine(20, 0x41, 1), MouseLine(40, 0x02, 0, 0xE001)},
                   input.Lines());
}

TEST_F(MacroPlayerTest, ButtonIndexOutsideZeroToNineReturnsFalseAndSendsNothing) {
    UseMacro(MacroBuilder().Press(0x04, 1).Build());
    for (int button : {10, 11, -1, 1 << 20}) {
        EXPECT_FALSE(PlayMacro(host, button)) << button;
    }
    EXPECT_TRUE(input.Lines().empty());
    EXPECT_TRUE(host.journal.empty());
}

TEST_F(MacroPlayerTest, PlaysTheActiveProfilesMacro) {
    host.Working().Profile = 3;
    host.SetMacro(3, kButton, MacroBuilder().Press(0x05, 0).Build());
    host.SetMacro(0, kButton, MacroBuilder().Press(0x04, 0).Build());
    PlayMacro(host, kButton);
    ExpectSequence({KeyLine(0, 0x42, 1)}, input.Lines());
}

TEST_F(MacroPlayerTest, SmallLateWakeUpsDoNotAddUpBecauseEachEventIsDueAtAnAbsoluteTime) {
    lateWakeMs = 1;  // every wait comes back 1 ms after its due time: within the tolerance
    MacroBuilder steps;
    for (int i = 0; i < 5; ++i) steps.Press(0x04, 1);
    UseMacro(steps.Build());
    PlayMacro(host, kButton);
    std::vector<std::uint64_t> times;
    for (const InjectedEvent& e : input.Events()) times.push_back(e.time);
    // Each at its due time (0, 20, 40, ...) plus one wake-up's lateness, never more.
    EXPECT_EQ(times, (std::vector<std::uint64_t>{0, 21, 41, 61, 81}));
}

// The machine stalls once for 30 ms, or every wake-up is later than the
// tolerance: the events that fell due meanwhile do not go out back to back,
// the rest of the pass (and the passes after it) move by the lateness, and
// no gap comes out shorter than recorded.
TEST_F(MacroPlayerTest, AfterALateEventTheRestOfThePassesKeepTheirRhythm) {
    struct Case {
        const char* name;
        std::uint64_t lateWake;
        std::uint64_t stallAtMs;  // a 30 ms stall in the wait that ends here; 0 for none
        std::vector<std::uint64_t> times;
    };
    const Case cases[] = {
        {"one stall", 0, 20, {0, 50, 70, 90, 110, 130}},
        {"every wake-up 3 ms late", 3, 0, {0, 23, 46, 69, 92, 115}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        input.Clear();
        lateWakeMs = c.lateWake;
        bool stalled = false;
        onAdvance = [&](std::uint64_t now) {
            if (c.stallAtMs == 0 || stalled || now % 1000 != c.stallAtMs) return;
            stalled = true;
            fake.AdvanceClock(30);
        };
        fake.AdvanceClock(1000 - fake.Now() % 1000);  // each case starts at a whole second
        UseMacro(MacroBuilder().Press(0x04, 1).Release(0x04, 1).Press(0x05, 1).Build());
        PlayMacroPasses(host, kButton, 2);
        std::vector<std::uint64_t> times;
        for (const InjectedEvent& e : input.Events()) times.push_back(e.time - input.Events()[0].time);
        EXPECT_EQ(times, c.times);
        for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 20u) << "gap " << i;
    }
}

// An injection can itself take long (the system runs other programs' input
// hooks before it stamps the event): the next event is due its delay after
// the late one went out, not after the moment it was meant to.
TEST_F(MacroPlayerTest, AnInjectionThatTakesLongMovesTheRestOfThePass) {
    UseMacro(MacroBuilder().Press(0x04, 5).Release(0x04, 1).Press(0x05, 0).Build());
    bool slowed = false;
    input.SetClock([&] {
        // The first event is stamped 9 ms after its injection began.
        if (!slowed) {
            slowed = true;
            fake.AdvanceClock(9);
        }
        return fake.Now();
    });
    PlayMacro(host, kButton);
    ExpectSequence({KeyLine(9, 0x41, 1), KeyLine(109, 0x41, 3), KeyLine(129, 0x42, 1)}, input.Lines());
}

// While a request plays, its thread runs above the desktop's normal threads,
// from its first event on (the first goes out without waiting for the
// system's calls); afterwards it has its own priority again, whatever that was.
TEST_F(MacroPlayerTest, TheThreadPlaysAtAHigherPriorityAndGetsItsOwnBackAfterwards) {
    UseMacro(MacroBuilder().Press(0x04, 1).Release(0x04, 1).Build());
    std::vector<int> atInjection;
    std::vector<int> whileWaiting;
    input.SetClock([&] {
        atInjection.push_back(fake.kernel.GetCurrentThreadPriority());
        return fake.Now();
    });
    onAdvance = [&](std::uint64_t) { whileWaiting.push_back(fake.kernel.GetCurrentThreadPriority()); };
    for (int own : {THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL}) {
        ASSERT_TRUE(fake.kernel.SetCurrentThreadPriority(own));
        atInjection.clear();
        whileWaiting.clear();
        PlayMacroPasses(host, kButton, 2);
        EXPECT_EQ(atInjection, (std::vector<int>{own, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_HIGHEST,
                                                 THREAD_PRIORITY_HIGHEST}))
            << "own priority " << own;
        ASSERT_FALSE(whileWaiting.empty());
        EXPECT_EQ(whileWaiting, std::vector<int>(whileWaiting.size(), THREAD_PRIORITY_HIGHEST));
        EXPECT_EQ(fake.kernel.GetCurrentThreadPriority(), own);
    }
    onAdvance = nullptr;
    // A thread already above it keeps its level, and one request inside
    // another (the worker's repeat) gives back only at the outermost end.
    ASSERT_TRUE(fake.kernel.SetCurrentThreadPriority(THREAD_PRIORITY_TIME_CRITICAL));
    PlayMacro(host, kButton);
    EXPECT_EQ(fake.kernel.GetCurrentThreadPriority(), THREAD_PRIORITY_TIME_CRITICAL);
    ASSERT_TRUE(fake.kernel.SetCurrentThreadPriority(THREAD_PRIORITY_NORMAL));
    {
        const MacroActivity outer;
        PlayMacro(host, kButton);
        EXPECT_EQ(fake.kernel.GetCurrentThreadPriority(), THREAD_PRIORITY_HIGHEST);
    }
    EXPECT_EQ(fake.kernel.GetCurrentThreadPriority(), THREAD_PRIORITY_NORMAL);
}

TEST_F(MacroPlayerTest, EachPassPlaysFromTheCopyTakenAtItsStart) {
    UseMacro(MacroBuilder().Press(0x04, 1).Release(0x04, 1).Build());
    int copies = 0;
    host.onMacroCopy = [&](int) {
        // The settings change right after the copy, while the pass plays.
        if (++copies == 1) host.SetMacro(0, kButton, MacroBuilder().Press(0x05, 1).Build());
    };
    PlayMacroPasses(host, kButton, 2);
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(20, 0x41, 3), KeyLine(40, 0x42, 1)}, input.Lines());
}

TEST_F(MacroPlayerTest, FixedPassesRunBackToBackWithoutPause) {
    UseMacro(MacroBuilder().Press(0x04, 2).Release(0x04, 3).Build());
    PlayMacroPasses(host, kButton, 3);
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(40, 0x41, 3), KeyLine(100, 0x41, 1),
                    KeyLine(140, 0x41, 3), KeyLine(200, 0x41, 1), KeyLine(240, 0x41, 3)},
                   input.Lines());
    EXPECT_EQ(fake.Now(), 300u);
}

// --- the worker's requests ---

TEST_F(MacroPlayerTest, RepeatUntilPressedPausesFiftyMillisecondsAfterEachPassAndStopsAfterThePassInProgress) {
    UseMacro(MacroBuilder().Press(0x04, 1).Release(0x04, 1).Build());
    MacroRunFlag.store(1);
    // The second press (flag to 0) comes in the middle of the third pass.
    onAdvance = [](std::uint64_t now) {
        if (now == 20 + 2 * 90) MacroRunFlag.store(0);
    };
    NoteMacroRequest(false, kButton);
    EXPECT_TRUE(ServeMacroRequest(host, kThreadMsgMacroRepeatUntilPressed, kButton));
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(20, 0x41, 3), KeyLine(90, 0x41, 1), KeyLine(110, 0x41, 3),
                    KeyLine(180, 0x41, 1), KeyLine(200, 0x41, 3)},
                   input.Lines());
    EXPECT_EQ(fake.Now(), 270u);  // the pass in progress and its pause complete
    EXPECT_EQ(MacroRunFlag.load(), 0);
}

TEST_F(MacroPlayerTest, RepeatWhileHeldAlwaysCompletesOnePassAndClearsTheFlagWhenItStops) {
    UseMacro(MacroBuilder().Press(0x04, 1).Release(0x04, 1).Build());
    MacroRunFlag.store(1);  // released at once: already the stop
    NoteMacroRequest(true, kButton);
    EXPECT_TRUE(ServeMacroRequest(host, kThreadMsgMacroRepeatWhileHeld, kButton));
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(20, 0x41, 3)}, input.Lines());
    EXPECT_EQ(fake.Now(), 90u);
    EXPECT_EQ(MacroRunFlag.load(), 0);
}

TEST_F(MacroPlayerTest, RepeatWhileHeldRepeatsUntilTheReleaseSetsTheFlag) {
    UseMacro(MacroBuilder().Press(0x04, 0).Release(0x04, 0).Build());
    onAdvance = [](std::uint64_t now) {
        if (now == 100) MacroRunFlag.store(1);  // released during the second pause
    };
    NoteMacroRequest(true, kButton);
    EXPECT_TRUE(ServeMacroRequest(host, kThreadMsgMacroRepeatWhileHeld, kButton));
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(0, 0x41, 3), KeyLine(50, 0x41, 1), KeyLine(50, 0x41, 3)},
                   input.Lines());
    EXPECT_EQ(MacroRunFlag.load(), 0);
    EXPECT_EQ(fake.Now(), 100u);
}

TEST_F(MacroPlayerTest, EmptyMacroRequestCyclesEveryFiftyMillisecondsPlayingNothing) {
    MacroRunFlag.store(1);
    onAdvance = [](std::uint64_t now) {
        if (now == 150) MacroRunFlag.store(0);
    };
    NoteMacroRequest(false, kButton);
    EXPECT_TRUE(ServeMacroRequest(host, kThreadMsgMacroRepeatUntilPressed, kButton));
    EXPECT_TRUE(input.Lines().empty());
    EXPECT_EQ(fake.Now(), 150u);
    EXPECT_EQ(clock.Waits().size(), 3u);
}

TEST_F(MacroPlayerTest, RequestsForNoButtonAndOtherMessagesPlayNothing) {
    UseMacro(MacroBuilder().Press(0x04, 1).Build());
    MacroRunFlag.store(1);
    const LPARAM outOfRange[] = {10, -1, static_cast<LPARAM>((std::uint64_t{1} << 32) | 2)};
    for (LPARAM lParam : outOfRange) {
        EXPECT_FALSE(ServeMacroRequest(host, kThreadMsgMacroRepeatWhileHeld, lParam)) << lParam;
        EXPECT_FALSE(ServeMacroRequest(host, kThreadMsgMacroRepeatUntilPressed, lParam)) << lParam;
    }
    // Well-formed requests the service never posted: another program's.
    EXPECT_FALSE(ServeMacroRequest(host, kThreadMsgMacroRepeatWhileHeld, kButton));
    EXPECT_FALSE(ServeMacroRequest(host, kThreadMsgMacroRepeatUntilPressed, kButton));
    // One noted request is served once, and only as the kind it was posted as.
    NoteMacroRequest(true, kButton);
    EXPECT_FALSE(ServeMacroRequest(host, kThreadMsgMacroRepeatUntilPressed, kButton));
    EXPECT_FALSE(ServeMacroRequest(host, WM_TIMER, kButton));
    EXPECT_FALSE(ServeMacroRequest(host, 0x3424, kButton));
    EXPECT_TRUE(input.Lines().empty());
    EXPECT_EQ(MacroRunFlag.load(), 1);
    EXPECT_EQ(fake.Now(), 0u);
    EXPECT_TRUE(ServeMacroRequest(host, kThreadMsgMacroRepeatWhileHeld, kButton));
    EXPECT_FALSE(ServeMacroRequest(host, kThreadMsgMacroRepeatWhileHeld, kButton)) << "served once";
}

}  // namespace
