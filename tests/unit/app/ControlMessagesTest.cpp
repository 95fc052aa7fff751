// The configuration programs' single-setting messages, each handled by the
// whole main window with the simulated mouse: the reports the mouse
// receives, the waits, the settings file's reads and writes and the answers
// posted, as exact sequences in virtual time.
#include "tests/unit/app/MainWindowRig.h"

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "tests/support/ContractSteps.h"

namespace {

const std::string kIni = "C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini";
const std::string kRead = "ReadFile " + kIni;
const std::string kWrite = "WriteFile " + kIni;

struct MessageCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LRESULT result;
    std::vector<Step> expected;
};

using ControlMessagesTest = MainWindowRig;

TEST_F(ControlMessagesTest, EachMessageReachesTheMouseWithItsBytesAndWaits) {
    const std::vector<MessageCase> cases = {
        {"0x4DF rate index 0 is code 3", kMsgSetPollingRate, 0, 1,
         {Step(kRead).At(0), Step(kRead), Step(kWrite), Step("mouse ff01 07 01 03 00 00 00 00 00").At(0)}},
        {"0x4DF rate index 1 is code 1", kMsgSetPollingRate, 1, 1,
         {Step(kRead), Step(kRead), Step(kWrite), Step("mouse ff01 07 01 01 00 00 00 00 00")}},
        {"0x4DF rate index 3 is code 0", kMsgSetPollingRate, 3, 1,
         {Step(kRead), Step(kRead), Step(kWrite), Step("mouse ff01 07 01 00 00 00 00 00 00")}},
        {"0x4E2 lift-off", kMsgSetLiftOff, 7, 0,
         {Step("mouse ff01 07 08 01 07 01 00 00 00").At(0), Step("Sleep 20").At(0), Step("Sleep 100").At(20)}},
        {"0x4E3 stages from the file, then stage 2", kMsgWriteStages, 2, 0,
         {Step(kRead).At(0), Step("mouse ff01 07 06 01 10 00 00 00 00").At(0), Step("Sleep 100").At(0),
          Step("mouse ff00 10 28 46 64 08 00 00 00").At(100), Step("Sleep 100").At(100),
          Step("mouse ff00 10 28 46 64 08 00 00 00").At(200), Step("Sleep 100").At(200),
          Step("mouse ff01 07 09 01 02 00 00 00 00").At(300), Step("Sleep 50").At(300),
          Step("Sleep 100").At(350)}},
        {"0x4E3 stage out of range is clamped", kMsgWriteStages, 9, 0,
         {Step(kRead), Step("mouse ff01 07 06 01 10 00 00 00 00"), Step("Sleep 100"),
          Step("mouse ff00 10 28 46 64 08 00 00 00"), Step("Sleep 100"), Step("mouse ff00 10 28 46 64 08 00 00 00"),
          Step("Sleep 100"), Step("mouse ff01 07 09 01 04 00 00 00 00"), Step("Sleep 50"), Step("Sleep 100")}},
        {"0x4E4 state byte", kMsgSetStateByte, 1, 0,
         {Step("mouse ff01 07 17 01 00 00 00 00 00").At(0), Step("Sleep 500").At(0), Step("Sleep 100").At(500)}},
        {"0x4E5 logo 4 goes out as 0xFF", kMsgSetLogoLight, 4, 0,
         {Step("mouse ff01 07 0a 01 00 ff 00 00 00").At(0), Step("Sleep 20").At(0)}},
        {"0x4E5 logo 0", kMsgSetLogoLight, 0, 0, {Step("mouse ff01 07 0a 01 00 00 00 00 00"), Step("Sleep 20")}},
        {"0x4E6 universal scroll off", kMsgSetUniversalScroll, 0, 0, {Step("mouse ff01 07 07 01 00 00 00 00 00"), Step("Sleep 20")}},
        {"0x4E6 universal scroll on", kMsgSetUniversalScroll, 1, 0, {Step("mouse ff01 07 07 01 01 00 00 00 00"), Step("Sleep 20")}},
        {"0x504 does nothing", kMsgNoAction, 5, 0, {}},
        {"0x677 reloads the settings", kMsgReloadSettings, 0, 0, {Step(kRead)}},
        {"WM_DEVICECHANGE answers TRUE", 0x219, 7, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Mark();
        EXPECT_EQ(Send(c.message, c.wParam), c.result);
        ExpectSequence(Timeline(), c.expected);
    }
}

TEST_F(ControlMessagesTest, ReadStageAnswersTheMouseStageToTheConfigurationProgram) {
    Send(kMsgWriteStages, 3);
    Mark();
    Send(kMsgReadStage, 12345);
    ExpectSequence(Timeline(), {
                                   Step("mouse ff01 07 89 01 00 00 00 00 00").At(0),
                                   Step("Sleep 200").At(0),
                                   Step("Sleep 200").At(200),
                                   Posted(kNotifyStage, 3).At(400),
                               });
    ASSERT_EQ(PostedTo(config).size(), 1u);
    EXPECT_EQ(PostedTo(config)[0].message, 0x4D6u);
}

TEST_F(ControlMessagesTest, PollingRateIsKeptInTheFileAsGivenEvenWhenItsCodeIsZero) {
    EXPECT_EQ(Send(kMsgSetPollingRate, 3), 1);
    EXPECT_EQ(Setting(u"PollingRate"), 3);
    EXPECT_EQ(mouse->Memory().ReportRate, 0);
    EXPECT_EQ(Send(kMsgSetPollingRate, 0), 1);
    EXPECT_EQ(Setting(u"PollingRate"), 0);
    EXPECT_EQ(mouse->Memory().ReportRate, 3);
}

TEST_F(ControlMessagesTest, LogoAndScrollAreStoredInTheActiveProfileInMemoryOnly) {
    window->Foreground().SetActiveProfile(2);
    Mark();
    Send(kMsgSetLogoLight, 4);
    Send(kMsgSetUniversalScroll, 0);
    const ServiceSettings working = window->Settings().Working();
    EXPECT_EQ(working.Profiles[2].LEDLogoEnable, 4);
    EXPECT_EQ(working.Profiles[2].UniversalScrollEnabled, 0);
    EXPECT_EQ(working.Profiles[0].UniversalScrollEnabled, 1) << "other profiles keep theirs";
    EXPECT_TRUE(Timeline({"WriteFile"}).empty()) << "the file is not written";
    EXPECT_EQ(mouse->Memory().Logo, 0xFF);
    EXPECT_EQ(mouse->Memory().UniversalScroll, 0);

    Send(kMsgSetLogoLight, 0);
    EXPECT_EQ(window->Settings().Working().Profiles[2].LEDLogoEnable, 0);
    EXPECT_EQ(mouse->Memory().Logo, 0);
}

TEST_F(ControlMessagesTest, LiftOffStageAndStateByteLeaveTheSettingsInMemoryAlone) {
    const ServiceSettings before = window->Settings().Working();
    Send(kMsgSetLiftOff, 9);
    Send(kMsgSetStateByte, 2);
    const ServiceSettings after = window->Settings().Working();
    EXPECT_EQ(after.Profiles[0].LIFT, before.Profiles[0].LIFT);
    EXPECT_EQ(mouse->Memory().LiftOff, 9);
    EXPECT_EQ(mouse->Memory().StateByte, 2);
}

TEST_F(ControlMessagesTest, ReloadTakesWhatTheConfigurationProgramWrote) {
    WriteActiveProfile(3);
    EXPECT_EQ(window->Settings().Working().Profile, 0);
    Send(kMsgReloadSettings);
    EXPECT_EQ(window->Settings().Working().Profile, 3);
    EXPECT_EQ(window->Settings().Snapshot().Profile, 3);
}

TEST_F(ControlMessagesTest, MessagesWaitTheirTurnOnTheMainThread) {
    fake.windows.PostMessageW(Hwnd(), kMsgSetStateByte, 1, 0);
    fake.windows.PostMessageW(Hwnd(), kMsgReadStage, 0, 0);
    Mark();
    Pump();
    ExpectSequence(Timeline({"mouse ", "PostMessageW " + MessageText(kNotifyStage)}),
                   {
                       Step("mouse ff01 07 17 01 00 00 00 00 00").At(0),
                       Step("mouse ff01 07 89 01 00 00 00 00 00").At(600),
                       Posted(kNotifyStage, 0).At(1000),
                   });
}

using ControlMessagesWithoutMouseTest = UnpluggedRig;

// Without the mouse each command's guard tries to open it and stops; the
// handlers go on regardless.
TEST_F(ControlMessagesWithoutMouseTest, EachMessageTriesToOpenTheMouseAndSendsNothing) {
    const std::vector<MessageCase> cases = {
        {"0x4D6 answers -1", kMsgReadStage, 0, 0, {Step("mouse open 0").At(0), Posted(kNotifyStage, static_cast<WPARAM>(-1)).At(0)}},
        {"0x4DF keeps nothing", kMsgSetPollingRate, 1, 0, {Step(kRead), Step("mouse open 0")}},
        {"0x4E2 still waits", kMsgSetLiftOff, 7, 0, {Step("mouse open 0"), Step("Sleep 100").At(0)}},
        {"0x4E3 still reloads and waits", kMsgWriteStages, 1, 0, {Step(kRead), Step("mouse open 0"), Step("Sleep 100")}},
        {"0x4E4 still waits", kMsgSetStateByte, 1, 0, {Step("mouse open 0"), Step("Sleep 100")}},
        {"0x4E5", kMsgSetLogoLight, 4, 0, {Step("mouse open 0")}},
        {"0x4E6", kMsgSetUniversalScroll, 0, 0, {Step("mouse open 0")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Mark();
        EXPECT_EQ(Send(c.message, c.wParam), c.result);
        ExpectSequence(Timeline(), c.expected);
    }
    EXPECT_EQ(Setting(u"PollingRate"), 2) << "the file's value is untouched";
    EXPECT_EQ(window->Settings().Working().Profiles[0].LEDLogoEnable, 4);
    EXPECT_EQ(window->Settings().Working().Profiles[0].UniversalScrollEnabled, 0);
}

}  // namespace
