// The button dispatcher, code group by code group: what each press and
// release injects and what it asks of the main window, with virtual times.
#include <gtest/gtest.h>

#include <functional>

#include "actions/ActionTimers.h"
#include "actions/ButtonDispatcher.h"
#include "actions/MacroWorker.h"
#include "ActionTestSupport.h"

namespace {

using acttest::ActionTest;
using acttest::ExpectSequence;
using acttest::Format;
using acttest::KeyLine;
using acttest::MacroBuilder;
using acttest::MouseLine;

constexpr char kReload[] = "0 ReloadActiveProfile";

class ButtonDispatcherTest : public ActionTest {
protected:
    // Runs the main window's timers on the virtual clock up to `until`
    // (milliseconds), one tick per period as the window's timer would.
    void RunTimersUntil(std::uint64_t until) {
        while (fake.Now() < until) {
            fake.AdvanceClock(1);
            for (const auto& [id, period] : std::map<UINT_PTR, UINT>(host.timers))
                if (fake.Now() % period == 0) HandleActionTimer(id);
        }
    }
    std::vector<std::string> Journal() const { return host.journal; }
};

TEST_F(ButtonDispatcherTest, IndexOutsideZeroToNineDoesNothingAtAll) {
    for (int button = 0; button < 10; ++button) host.Assign(0, button, 1);
    for (int button : {10, 11, 255, -1}) {
        Press(button);
        Release(button);
    }
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(input.Lines().empty());
}

TEST_F(ButtonDispatcherTest, CodesWithoutAnActionOnlyRereadTheProfile) {
    for (std::uint8_t code : {0, 12, 23, 31, 34, 39, 45, 49, 52, 56, 61, 62, 63, 74, 76, 254, 255}) {
        SCOPED_TRACE(static_cast<int>(code));
        host.journal.clear();
        host.Assign(0, 1, code);
        Press(1);
        Release(1);
        ExpectSequence({kReload, kReload}, Journal());
        EXPECT_TRUE(input.Lines().empty());
    }
}

TEST_F(ButtonDispatcherTest, LooksUpTheProfileActiveBeforeTheRefresh) {
    host.Assign(0, 4, 1);   // left button in profile 0, which is active
    host.Assign(2, 4, 3);   // right button in profile 2
    host.File().Profile = 2;  // the file has switched to profile 2 meanwhile
    Press(4);
    EXPECT_EQ(host.Working().Profile, 2);
    Press(4);  // now noted as profile 2
    ExpectSequence({MouseLine(0, 0x02, 0, 0xE001), MouseLine(0, 0x08, 0, 0xE002)}, input.Lines());
}

// A release ends what its own press started: a profile switch or an edit
// between press and release must not leave a button down or start another
// function. A release whose press was never seen follows the settings.
TEST_F(ButtonDispatcherTest, AReleaseEndsWhatItsPressStartedWhateverTheSettingsSayBetween) {
    struct Case {
        const char* name;
        std::function<void()> between;
    };
    const Case cases[] = {
        {"the profile switched", [&] {
             host.Assign(2, 0, 9);  // wheel up in profile 2
             host.File().Profile = 2;
             host.Working().Profile = 2;
         }},
        {"the assignment was edited", [&] { host.File().Profiles[0].Buttons[0].ButtonFunc = 9; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        input.Clear();
        host.File().Profile = 0;
        host.Working().Profile = 0;
        host.Assign(0, 0, 1);
        Press(0);
        c.between();
        Release(0);
        ExpectSequence({MouseLine(0, 0x02, 0, 0xE001), MouseLine(0, 0x04, 0, 0xE002)}, input.Lines());
    }
    input.Clear();
    Release(0);  // its press was ended already: the settings say wheel up
    ExpectSequence({MouseLine(0, 0x800, 120, 0xE001)}, input.Lines());
}

struct MouseButtonCase {
    std::uint8_t code;
    unsigned down;
    unsigned up;
    int data;
};

TEST_F(ButtonDispatcherTest, MouseButtonCodesGiveOneDownAndOneUpWithTheCurrentExtraInformation) {
    constexpr MouseButtonCase kCases[] = {
        {1, 0x0002, 0x0004, 0}, {2, 0x0020, 0x0040, 0}, {3, 0x0008, 0x0010, 0},
        {4, 0x0080, 0x0100, 1}, {5, 0x0080, 0x0100, 2},
    };
    for (const MouseButtonCase& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        input.Clear();
        host.Assign(0, 6, c.code);
        fake.AdvanceClock(10);
        Press(6);
        fake.AdvanceClock(80);
        Release(6);
        const std::uint64_t t = fake.Now();
        ExpectSequence({MouseLine(t - 80, c.down, c.data, 0xE001), MouseLine(t, c.up, c.data, 0xE002)},
                       input.Lines());
    }
}

struct ReleaseOnlyCase {
    std::uint8_t code;
    std::vector<std::string> released;
};

TEST_F(ButtonDispatcherTest, WheelDoubleClickAndMediaCodesActOnReleaseOnly) {
    const ReleaseOnlyCase kCases[] = {
        {9, {MouseLine(0, 0x800, 120, 0xE001)}},
        {10, {MouseLine(0, 0x800, -120, 0xE001)}},
        {11, {MouseLine(0, 0x2, 0, 0xE001), MouseLine(0, 0x4, 0, 0xE002), MouseLine(0, 0x2, 0, 0xE003),
              MouseLine(0, 0x4, 0, 0xE004)}},
        {24, {KeyLine(0, 0xB3, 1), KeyLine(0, 0xB3, 3)}},
        {27, {KeyLine(0, 0xB0, 1), KeyLine(0, 0xB0, 3)}},
        {28, {KeyLine(0, 0xB1, 1), KeyLine(0, 0xB1, 3)}},
        {71, {KeyLine(0, 0xAD, 1), KeyLine(0, 0xAD, 3)}},
    };
    for (const ReleaseOnlyCase& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        input.Clear();
        host.Assign(0, 8, c.code);
        Press(8);
        EXPECT_TRUE(input.Lines().empty());
        Release(8);
        ExpectSequence(c.released, input.Lines());
    }
}

TEST_F(ButtonDispatcherTest, VolumeUpHeldThreeHundredFiftyMillisecondsTapsAtOneTwoAndThreeHundred) {
    host.Assign(0, 3, 25);
    Press(3);
    EXPECT_TRUE(input.Lines().empty());  // nothing at the press itself
    RunTimersUntil(350);
    Release(3);
    RunTimersUntil(500);
    ExpectSequence({KeyLine(100, 0xAF, 1), KeyLine(100, 0xAF, 3), KeyLine(200, 0xAF, 1),
                    KeyLine(200, 0xAF, 3), KeyLine(300, 0xAF, 1), KeyLine(300, 0xAF, 3)},
                   input.Lines());
    ExpectSequence({kReload, "0 SetTimer 1000 100", "350 ReloadActiveProfile", "350 KillTimer 1000"},
                   Journal());
}

TEST_F(ButtonDispatcherTest, VolumeDownUsesTimerTenZeroOne) {
    host.Assign(0, 3, 26);
    Press(3);
    RunTimersUntil(150);
    Release(3);
    ExpectSequence({KeyLine(100, 0xAE, 1), KeyLine(100, 0xAE, 3)}, input.Lines());
    ExpectSequence({kReload, "0 SetTimer 1001 100", "150 ReloadActiveProfile", "150 KillTimer 1001"},
                   Journal());
}

struct StageCase {
    std::uint8_t code;
    int mouseStage;  // -1: the mouse cannot be opened
    int posted;
    int stageAfter;
};

TEST_F(ButtonDispatcherTest, StageFunctionsSelectPostTheUnlimitedStageAndNeverTouchTheSettings) {
    constexpr StageCase kCases[] = {
        {7, 0, 1, 1},   {7, 4, 5, 4},   {8, 3, 2, 2},   {8, 0, -1, 0},
        {29, 0, 1, 1},  {29, 3, 0, 0},  {29, 4, 5, 4},  {30, 0, 3, 3},  {30, 2, 1, 1},
        {7, -1, 0, -1}, {29, -1, 0, -1}, {8, -1, -2, -1}, {30, -1, -2, -1},
    };
    for (const StageCase& c : kCases) {
        SCOPED_TRACE(Format("code %lld at stage %lld", c.code, c.mouseStage));
        host.journal.clear();
        host.mouseReachable = c.mouseStage >= 0;
        host.mouseStage = host.mouseReachable ? c.mouseStage : 0;
        host.Assign(0, 5, c.code);
        Press(5);
        ExpectSequence({kReload, Format("0 ReadResolutionStage -> %lld", c.mouseStage),
                        Format("0 SelectResolutionStage %lld", c.posted),
                        Format("0 PostToConfigurationProgram 0x4D6 %lld 0", c.posted)},
                       Journal());
        if (c.mouseStage >= 0) {
            EXPECT_EQ(host.mouseStage, c.stageAfter);
        }
        host.journal.clear();
        Release(5);
        ExpectSequence({kReload}, Journal());
    }
}

TEST_F(ButtonDispatcherTest, ClutchHeldRunsTheStageAtStageFivesResolutionAndReleaseRestoresIt) {
    host.SetStages(0, {16, 40, 70, 100, 8});
    host.Assign(0, 2, 6);
    host.mouseStage = 1;
    Press(2);
    EXPECT_EQ(host.mouseStageX, 8);
    fake.AdvanceClock(500);
    Release(2);
    EXPECT_EQ(host.mouseStageX, 40);
    ExpectSequence({kReload, "0 ReadResolutionStage -> 1", "0 CopyTopStageResolution 0 1",
                    "0 WriteResolutionStages 1 16,8,70,100,8", "0 PostToConfigurationProgram 0x4D6 1 0",
                    "500 ReloadActiveProfile", "500 ReadResolutionStage -> 1",
                    "500 WriteResolutionStages 1 16,40,70,100,8",
                    "500 PostToConfigurationProgram 0x4D6 1 0"},
                   Journal());
    // The settings file never changed; the copy lived in memory only.
    EXPECT_EQ(host.File().Profiles[0].DPIStageValue[1].X, 40);
    EXPECT_TRUE(input.Lines().empty());
}

TEST_F(ButtonDispatcherTest, ClutchWithoutAMouseMakesNoCopyAndPostsMinusOne) {
    host.SetStages(0, {16, 40, 70, 100, 8});
    host.Assign(0, 2, 6);
    host.mouseReachable = false;
    Press(2);
    ExpectSequence({kReload, "0 ReadResolutionStage -> -1", "0 WriteResolutionStages -1 16,40,70,100,8",
                    "0 PostToConfigurationProgram 0x4D6 -1 0"},
                   Journal());
}

TEST_F(ButtonDispatcherTest, ClutchAtAStageIndexBeyondTheTableMakesNoCopy) {
    host.SetStages(0, {16, 40, 70, 100, 8});
    host.Assign(0, 2, 6);
    host.mouseStage = 7;  // a reply byte outside 0 to 4
    Press(2);
    ExpectSequence({kReload, "0 ReadResolutionStage -> 7", "0 WriteResolutionStages 7 16,40,70,100,8",
                    "0 PostToConfigurationProgram 0x4D6 7 0"},
                   Journal());
}

TEST_F(ButtonDispatcherTest, ClutchToggleAlternatesAcrossButtonsWithOneCounter) {
    host.SetStages(0, {16, 40, 70, 100, 8});
    host.Assign(0, 3, 64);
    host.Assign(0, 4, 64);
    host.mouseStage = 2;
    std::vector<int> resolutions;
    for (int button : {3, 4, 3, 3}) {
        Press(button);
        resolutions.push_back(host.mouseStageX);
        Release(button);
        resolutions.push_back(host.mouseStageX);  // the release changes nothing
    }
    EXPECT_EQ(resolutions, (std::vector<int>{8, 8, 70, 70, 8, 8, 70, 70}));
    EXPECT_EQ(ClutchToggleCounter.load(), 4);
}

TEST_F(ButtonDispatcherTest, MacroWithPlayModeThreePlaysThreePassesDuringThePress) {
    host.Assign(0, 1, 44, 3);
    host.SetMacro(0, 1, MacroBuilder().Press(0x04, 1).Release(0x04, 1).Build());
    Press(1);
    EXPECT_EQ(fake.Now(), 120u);  // the press returned only after all passes
    Release(1);
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(20, 0x41, 3), KeyLine(40, 0x41, 1), KeyLine(60, 0x41, 3),
                    KeyLine(80, 0x41, 1), KeyLine(100, 0x41, 3)},
                   input.Lines());
    ExpectSequence({kReload, "0 ActiveMacroData 1", "40 ActiveMacroData 1", "80 ActiveMacroData 1",
                    "120 ReloadActiveProfile"},
                   Journal());
    EXPECT_EQ(MacroRunFlag.load(), 0);
}

TEST_F(ButtonDispatcherTest, MacroRepeatUntilPressedStartsOnTheFirstPressAndTheSecondPressOnlyStops) {
    host.Assign(0, 1, 44, 0);
    Press(1);
    EXPECT_EQ(MacroRunFlag.load(), 1);
    Release(1);
    EXPECT_EQ(MacroRunFlag.load(), 1);  // the release does nothing
    Press(1);
    EXPECT_EQ(MacroRunFlag.load(), 0);
    Release(1);
    ExpectSequence({kReload, "0 PostToMacroWorker 0x3422 0 1", kReload, kReload, kReload}, Journal());
}

TEST_F(ButtonDispatcherTest, APressOfAnotherMacroButtonWhileOneRepeatsOnlyStopsIt) {
    host.Assign(0, 1, 44, 0);
    host.Assign(0, 7, 44, 2);
    host.SetMacro(0, 7, MacroBuilder().Press(0x04, 1).Build());
    Press(1);
    Press(7);
    EXPECT_EQ(MacroRunFlag.load(), 0);
    EXPECT_TRUE(input.Lines().empty());
    ExpectSequence({kReload, "0 PostToMacroWorker 0x3422 0 1", kReload}, Journal());
}

TEST_F(ButtonDispatcherTest, MacroRepeatWhileHeldRunsFromPressToRelease) {
    host.Assign(0, 9, 44, 65535);
    Press(9);
    EXPECT_EQ(MacroRunFlag.load(), 0);
    fake.AdvanceClock(300);
    Release(9);
    EXPECT_EQ(MacroRunFlag.load(), 1);
    ExpectSequence({kReload, "0 PostToMacroWorker 0x3423 0 9", "300 ReloadActiveProfile"}, Journal());
}

TEST_F(ButtonDispatcherTest, MacroReleaseTakesThePlayModeFromTheProfileActiveAfterTheRefresh) {
    host.Assign(0, 2, 44, 0);
    host.Assign(1, 2, 44, 65535);
    host.File().Profile = 1;
    Release(2);
    EXPECT_EQ(MacroRunFlag.load(), 1);

    MacroRunFlag.store(0);
    host.Assign(0, 2, 44, 65535);
    host.Assign(1, 2, 44, 0);
    host.Working().Profile = 0;
    Release(2);
    EXPECT_EQ(MacroRunFlag.load(), 0);
}

TEST_F(ButtonDispatcherTest, MacroWithAnyOtherPlayModeDoesNothing) {
    for (std::int32_t mode : {-1, 65536, 70000, INT32_MIN}) {
        SCOPED_TRACE(mode);
        host.journal.clear();
        host.Assign(0, 1, 44, mode);
        host.SetMacro(0, 1, MacroBuilder().Press(0x04, 1).Build());
        Press(1);
        Release(1);
        ExpectSequence({kReload, kReload}, Journal());
        EXPECT_EQ(MacroRunFlag.load(), 0);
    }
    EXPECT_TRUE(input.Lines().empty());
}

TEST_F(ButtonDispatcherTest, MacroOncePlaysOnePassWhateverTheFlagAndPlayModeHold) {
    host.Assign(0, 0, 73, 65535);
    host.SetMacro(0, 0, MacroBuilder().Press(0x04, 1).Release(0x04, 0).Build());
    MacroRunFlag.store(1);
    Press(0);
    Release(0);
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(20, 0x41, 3)}, input.Lines());
    EXPECT_EQ(MacroRunFlag.load(), 1);
}

TEST_F(ButtonDispatcherTest, MacroWhosePressesLackReleasesLeavesTheKeysDown) {
    host.Assign(0, 0, 44, 1);
    host.SetMacro(0, 0, MacroBuilder().Press(0xE0, 0).Press(0x06, 0).Build());
    Press(0);
    Release(0);
    ExpectSequence({KeyLine(0, 0xA2, 1), KeyLine(0, 0x43, 1)}, input.Lines());
}

TEST_F(ButtonDispatcherTest, KeyboardKeyTapsTheSnapshotsKeyWithTheExtendedFlagOnPressOnly) {
    host.Assign(0, 3, 72).KeyNumber = 0x05;           // what the file holds
    host.Snapshot().Profiles[0].Buttons[3].KeyNumber = 0x04;  // the validated copy
    Press(3);
    Release(3);
    host.Snapshot().Profiles[0].Buttons[3].KeyNumber = 0x32;  // not in the table
    Press(3);
    ExpectSequence({KeyLine(0, 0x41, 1), KeyLine(0, 0x41, 3), KeyLine(0, 0x00, 1), KeyLine(0, 0x00, 3)},
                   input.Lines());
}

TEST_F(ButtonDispatcherTest, MacroNotifyPostsTheButtonIndexOnlyWhenTheSnapshotsNameIsNotEmpty) {
    host.Assign(0, 6, 75);
    host.Working().Profiles[0].Buttons[6].MacroName[0] = u'W';
    Press(6);  // the snapshot's name is empty
    host.Snapshot().Profiles[0].Buttons[6].MacroName[0] = u'M';
    Press(6);
    Release(6);
    ExpectSequence({kReload, kReload, "0 PostToConfigurationProgram 0x4D5 6 0", kReload}, Journal());
}

TEST_F(ButtonDispatcherTest, LaunchProgramAttachesToTheForegroundBringsTheServiceForwardAndOpensThePath) {
    const HWND foreground = windows.Add(u"Other", nullptr, 77);
    windows.SetNode(host.mainWindow, 1000);
    windows.foreground = foreground;
    CopyTextToField(u"C:\\Tools\\notes.txt", host.Assign(0, 4, 47).Path, kPathLength);
    host.Working().Profiles[0].Buttons[4] = host.File().Profiles[0].Buttons[4];
    std::vector<std::size_t> launchesAtCall;
    windows.onCall = [&](const std::string&) { launchesAtCall.push_back(fake.shell.ShellExecutes().size()); };
    Press(4);
    Release(4);
    ExpectSequence({"GetForegroundWindow", "AttachThreadInput 77 1000 1", "SetForegroundWindow 0x51",
                    "AttachThreadInput 77 1000 0"},
                   windows.journal);
    EXPECT_EQ(launchesAtCall, (std::vector<std::size_t>{0, 0, 0, 1}));  // opened before the detach
    const auto launches = fake.shell.ShellExecutes();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].owner, nullptr);
    EXPECT_EQ(launches[0].verb, u"open");
    EXPECT_EQ(launches[0].file, u"C:\\Tools\\notes.txt");
    EXPECT_EQ(launches[0].parameters, u"");
    EXPECT_EQ(launches[0].directory, u"");
    EXPECT_EQ(launches[0].show, SW_SHOWNORMAL);
}

TEST_F(ButtonDispatcherTest, LaunchProgramWithAnEmptyPathStillAsksTheShell) {
    host.Assign(0, 4, 47);
    Press(4);
    ASSERT_EQ(fake.shell.ShellExecutes().size(), 1u);
    EXPECT_EQ(fake.shell.ShellExecutes()[0].file, u"");
}

TEST_F(ButtonDispatcherTest, ActiveProfileIndexOutOfRangeRereadsButLooksNothingUp) {
    host.Assign(0, 0, 1);
    host.Working().Profile = 6;
    Press(0);
    host.Working().Profile = -1;
    Release(0);
    ExpectSequence({kReload, kReload}, Journal());
    EXPECT_TRUE(input.Lines().empty());
}

}  // namespace
