// The read-back chain of the whole main window with the simulated mouse:
// five timer steps that wait for the mouse's answers, copy them, ask for
// more and finally compare what the mouse holds with the settings; and the
// adoption of what was read, which leaves every field that was not read
// as the user set it.
#include "tests/unit/app/MainWindowRig.h"

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "tests/support/ContractSteps.h"
#include "device/DeviceSession.h"
#include "hidsim/Secrecy.h"
#include "tests/support/SettingsSamples.h"

namespace {

const std::string kIni = "C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini";
const std::string kRead = "ReadFile " + kIni;

class ReadBackChainTest : public MainWindowRig {
protected:
    // The mouse holds the button table of a profile whose buttons 0 to 7
    // have these functions (the service writes it as it would for 0x4DE).
    void MouseHolds(const std::vector<std::uint8_t>& functions) {
        ProfileRecord profile = samples::DefaultSettings().Profiles[0];
        for (std::size_t j = 0; j < functions.size(); ++j) profile.Buttons[j].ButtonFunc = functions[j];
        window->Device().WriteButtonTable(profile);
        Mark();
    }

    // A sibling's WM_TIMER 515 starts the chain; each later step is due
    // 100 ms after the one before.
    void StartChain() {
        fake.windows.PostMessageW(Hwnd(), WM_TIMER, kReadBackStep1TimerId, 0);
        Mark();
        Pump();
    }
    void NextTick() {
        fake.windows.RunFor(kReadBackStepMs);
        Settle();
    }
    void RunChain() {
        StartChain();
        for (int i = 0; i < 4; ++i) NextTick();
    }

    void Answers(std::size_t count) {
        SimMouseAnswers answers;
        answers.ReadBackAnswerCount = count;
        mouse->SetAnswers(answers);
    }

    // Answer k of a read-back request, as the mouse sends it.
    std::vector<std::uint8_t> Answer(std::size_t k) {
        const SimMemory memory = mouse->Memory();
        std::vector<std::uint8_t> frame(kSimReadBackReportLength, 0);
        frame[0] = kSimReadBackReportId;
        std::memcpy(frame.data() + 1, memory.ButtonTable + k * kReportSize, kReportSize);
        secrecy::EncodeFrame(frame.data());
        return frame;
    }
};

TEST_F(ReadBackChainTest, FiveStepsEachAHundredMillisecondsAfterTheLast) {
    MouseHolds({1, 3, 2, 24, 25, 26, 27, 28});
    RunChain();
    ExpectSequence(Timeline({"mouse ", "SetTimer", "KillTimer", "ReadFile", "PostMessageW"}),
                   {
                       Step("KillTimer 515").At(0),
                       Step("mouse ff01 07 83 00 00 00 00 00 00").At(0),
                       Step("SetTimer 513 100").At(0),
                       Step("KillTimer 513").At(100),
                       Step("mouse ff01 07 84 01 20 00 00 00 00").At(100),
                       Step("SetTimer 516 100").At(100),
                       Step("KillTimer 516").At(200),
                       Step("mouse ff01 07 83 00 00 00 00 00 00").At(200),
                       Step("SetTimer 514 100").At(200),
                       Step("KillTimer 514").At(300),
                       Step("mouse ff01 07 84 01 20 00 00 00 00").At(300),
                       Step("SetTimer 517 100").At(300),
                       Step("KillTimer 517").At(400),
                       Step(kRead).At(400),
                       Posted(kNotifyDeviceImageDiffers, 0).At(400),
                   });
    ASSERT_EQ(PostedTo(readBack).size(), 1u);
    EXPECT_EQ(PostedTo(readBack)[0].message, kNotifyDeviceImageDiffers);
}

TEST_F(ReadBackChainTest, TheImageHoldsOnlyWhatTheMouseReported) {
    MouseHolds({1, 3, 2, 24, 25, 26, 27, 28});
    RunChain();
    const ServiceSettings image = window->Settings().DeviceImage();
    // Slots 1 and 2 come from the two requests; entry 5 is read from entry 6
    // and entry 6 from entry 7.
    for (int k : {1, 2}) {
        SCOPED_TRACE(k);
        const std::vector<int> expected = {1, 3, 2, 24, 25, 27, 28};
        for (int j = 0; j < 7; ++j) EXPECT_EQ(image.Profiles[k].Buttons[j].ButtonFunc, expected[j]) << j;
        EXPECT_EQ(image.Profiles[k].Buttons[7].ButtonFunc, 0) << "four zero bytes: as it was";
    }
    for (int j = 0; j < kButtonCount; ++j) EXPECT_EQ(image.Profiles[0].Buttons[j].ButtonFunc, 0) << "nothing collected for slot 0";
}

TEST_F(ReadBackChainTest, WhatAgreesWithTheSettingsIsNotReported) {
    // Buttons 0 to 4 of slots 1 and 2 as the mouse holds them; 5 and 6 are
    // read from entries 6 and 7.
    ServiceSettings settings = samples::DefaultSettings();
    for (int k : {1, 2}) {
        const std::uint8_t functions[] = {1, 3, 2, 24, 25, 27, 28};
        for (int j = 0; j < 7; ++j) settings.Profiles[k].Buttons[j].ButtonFunc = functions[j];
    }
    WriteAllSettings(settings);
    Send(kMsgReloadSettings);
    MouseHolds({1, 3, 2, 24, 25, 26, 27, 28});
    RunChain();
    EXPECT_TRUE(PostedTo(readBack).empty());
}

TEST_F(ReadBackChainTest, AdoptionTakesTheButtonsAndKeepsProfileRateAndStages) {
    // The user's choices that the mouse never reports.
    ServiceSettings settings = samples::DefaultSettings();
    settings.Profile = 2;
    settings.PollingRate = 1;
    for (int k = 0; k < kProfileCount; ++k) {
        settings.Profiles[k].DPI = 3;
        settings.Profiles[k].XYSensitivityEnabled = 0;
        for (int n = 0; n < kStageCount; ++n) settings.Profiles[k].DPIStageValue[n] = DpiStage{1, 20 + n + k, 30 + n};
    }
    WriteAllSettings(settings);
    Send(kMsgReloadSettings);
    const ServiceSettings before = window->Settings().Working();
    MouseHolds({1, 3, 2, 24, 25, 26, 27, 28});
    RunChain();
    ASSERT_EQ(PostedTo(readBack).size(), 1u);

    Mark();
    Send(kMsgAdoptDeviceImage);
    // The whole settings file is written, then the read-back program told.
    const auto events = Timeline({"WriteFile", "PostMessageW"});
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.front().Text, "WriteFile " + kIni);
    EXPECT_EQ(events.back().Text, Posted(kNotifyDeviceImageAdopted, 0).Text);
    EXPECT_EQ(events.back().Time, 0u);
    EXPECT_EQ(Setting(u"Profile"), 2);
    EXPECT_EQ(Setting(u"PollingRate"), 1);
    ServiceSettings file{};
    ReadAllSettings(file);
    const ServiceSettings working = window->Settings().Working();
    const std::uint8_t adopted[] = {1, 3, 2, 24, 25, 27, 28};
    // Slot 0 is never written by the service; slots 1 to 5 are.
    for (int k = 1; k < kProfileCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(file.Profiles[k].DPI, 3);
        EXPECT_EQ(file.Profiles[k].XYSensitivityEnabled, 0);
        EXPECT_EQ(std::memcmp(file.Profiles[k].DPIStageValue, before.Profiles[k].DPIStageValue,
                              sizeof file.Profiles[k].DPIStageValue), 0);
        for (int j = 0; j < kButtonCount; ++j) {
            const bool read = (k == 1 || k == 2) && j < 7;
            EXPECT_EQ(file.Profiles[k].Buttons[j].ButtonFunc, read ? adopted[j] : before.Profiles[k].Buttons[j].ButtonFunc)
                << j;
            EXPECT_EQ(working.Profiles[k].Buttons[j].ButtonFunc, file.Profiles[k].Buttons[j].ButtonFunc) << j;
        }
    }
    for (int j = 0; j < kButtonCount; ++j)
        EXPECT_EQ(working.Profiles[0].Buttons[j].ButtonFunc, before.Profiles[0].Buttons[j].ButtonFunc);
    const ServiceSettings snapshot = window->Settings().Snapshot();
    EXPECT_EQ(std::memcmp(&working, &snapshot, sizeof working), 0);
    ASSERT_EQ(PostedTo(readBack).size(), 2u);
    EXPECT_EQ(PostedTo(readBack)[1].message, kNotifyDeviceImageAdopted);

    // Read again, the mouse now agrees with the settings.
    Mark();
    RunChain();
    EXPECT_EQ(PostedTo(readBack).size(), 2u) << "no difference reported";
}

TEST_F(ReadBackChainTest, AdoptionWithNothingReadChangesNoSetting) {
    const ServiceSettings before = window->Settings().Working();
    Send(kMsgAdoptDeviceImage);
    const ServiceSettings after = window->Settings().Working();
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(PostedTo(readBack).size(), 1u);
}

TEST_F(ReadBackChainTest, AStepWaitingForAnswersRetriesEveryHundredMilliseconds) {
    MouseHolds({1, 3, 2, 24, 25, 26, 27, 28});
    Answers(2);  // the mouse stops after two answers
    StartChain();
    for (int i = 0; i < 6; ++i) NextTick();
    EXPECT_TRUE(window->Device().ShortReadPending());
    // The missing answers come late; the waiting step then goes on.
    ASSERT_TRUE(mouse->SendInputReport(Answer(2)));
    ASSERT_TRUE(mouse->SendInputReport(Answer(3)));
    Settle();
    Answers(4);
    for (int i = 0; i < 3; ++i) NextTick();
    ExpectSequence(Timeline({"mouse ff01", "SetTimer", "KillTimer"}),
                   {
                       Step("KillTimer 515").At(0),
                       Step("mouse ff01 07 83 00 00 00 00 00 00").At(0),
                       Step("SetTimer 513 100").At(0),
                       Step("KillTimer 513").At(100),
                       Step("mouse ff01 07 84 01 20 00 00 00 00").At(100),
                       Step("SetTimer 516 100").At(100),
                       // 200 to 600: step 3 finds the collection busy each time
                       Step("KillTimer 516").At(700),
                       Step("mouse ff01 07 83 00 00 00 00 00 00").At(700),
                       Step("SetTimer 514 100").At(700),
                       Step("KillTimer 514").At(800),
                       Step("mouse ff01 07 84 01 20 00 00 00 00").At(800),
                       Step("SetTimer 517 100").At(800),
                       Step("KillTimer 517").At(900),
                   });
}

TEST_F(ReadBackChainTest, AnswersThatNeverAllComeEndTheWaitWithNothingRead) {
    MouseHolds({1, 3, 2, 24, 25, 26, 27, 28});
    Answers(2);
    StartChain();
    for (int i = 0; i < 25; ++i) NextTick();
    // Each request's collection ends without data once its answers are a
    // second overdue; the waiting step then goes on.
    ExpectSequence(Timeline({"KillTimer", "mouse ff01 07 84"}),
                   {
                       Step("KillTimer 515").At(0),
                       Step("KillTimer 513").At(100),
                       Step("mouse ff01 07 84 01 20 00 00 00 00").At(100),
                       Step("KillTimer 516").At(1100),
                       Step("KillTimer 514").At(1200),
                       Step("mouse ff01 07 84 01 20 00 00 00 00").At(1200),
                       Step("KillTimer 517").At(2200),
                   });
    EXPECT_TRUE(PostedTo(readBack).empty()) << "nothing read, nothing differs";
    Send(kMsgAdoptDeviceImage);
    const ServiceSettings working = window->Settings().Working();
    const ServiceSettings snapshot = window->Settings().Snapshot();
    EXPECT_EQ(std::memcmp(&working.Profiles, &snapshot.Profiles, sizeof working.Profiles), 0);
    for (int k = 0; k < kProfileCount; ++k)
        for (int j = 0; j < kButtonCount; ++j)
            EXPECT_EQ(working.Profiles[k].Buttons[j].ButtonFunc, samples::DefaultSettings().Profiles[k].Buttons[j].ButtonFunc)
                << k << "/" << j << ": the two answers that came are not taken";
}

TEST_F(ReadBackChainTest, AFirstStepWhileAnswersAreAwaitedDoesNothing) {
    Answers(0);
    window->Device().RequestReadBack();
    ASSERT_TRUE(window->Device().ShortReadPending());
    StartChain();
    EXPECT_TRUE(Timeline({"mouse ", "SetTimer", "KillTimer"}).empty());
    fake.windows.RunFor(1000);
    EXPECT_TRUE(Timeline({"mouse ", "SetTimer", "KillTimer"}).empty()) << "nothing armed 515";
}

TEST_F(ReadBackChainTest, WithoutTheMouseTheChainRunsThroughAndReadsNothing) {
    mouse->Unplug();
    Pump();
    RunChain();
    EXPECT_EQ(Timeline({"KillTimer"}).size(), 5u);
    EXPECT_TRUE(PostedTo(readBack).empty()) << "nothing read, nothing differs";
}

}  // namespace
