// The whole road of a button press on the host: the simulated mouse's
// report on its library thread, the main window's input handling, the
// dispatcher with its settings re-read, and the input it injects, the
// timers it runs and the macro worker thread it wakes, on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <cstring>
#include <thread>

#include "app/MursohidDlg.h"
#include "config/DataFolder.h"
#include "config/SettingsFile.h"
#include "config/SettingsFileAccess.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/ExpectSequence.h"
#include "tests/support/ProcessReset.h"
#include "tests/support/SettingsSamples.h"

namespace {

constexpr std::uint8_t kPress = 0x80;
constexpr std::uint8_t kUsageA = 0x04;
constexpr std::uint8_t kUsageB = 0x05;

class ButtonPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        window = new CMursohidDlg;
        ASSERT_TRUE(window->CreateServiceWindow());
        settings = samples::DefaultSettings();
    }
    void TearDown() override {
        mouse->WaitUntilDelivered();
        fake.windows.WaitUntilThreadsIdle();
        if (window != nullptr) window->DestroyWindow();
        delete window;
        EXPECT_TRUE(fake.Hangs().empty());
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }

    // The configuration program stores the active slot; the next press reads it.
    void Store() {
        auto file = std::make_unique<PortableIniFile>(DataFolder() + u"config.ini");
        WriteProfileSlot(*file, 0, settings.Profiles[0]);
    }
    ButtonAssignment& Button(int index) { return settings.Profiles[0].Buttons[index]; }

    // A report from the mouse, handled in full before the test goes on.
    void Press(int index) {
        ASSERT_TRUE(mouse->PressButton(index));
        mouse->WaitUntilDelivered();
    }
    void Release(int index) {
        ASSERT_TRUE(mouse->ReleaseButton(index));
        mouse->WaitUntilDelivered();
    }

    // Injected input after the first `skip` events, timed from the first of them.
    std::vector<SequenceEvent> Input(std::size_t skip = 0) {
        const auto all = Events(fake, {"key ", "mouse "});
        std::vector<SequenceEvent> input;
        for (std::size_t i = skip; i < all.size(); ++i)
            input.push_back(SequenceEvent{all[i].Time - all[skip].Time, all[i].Text});
        return input;
    }

    FakePlatform fake;
    SimulatedMouse mouse{fake};
    CMursohidDlg* window = nullptr;
    ServiceSettings settings{};
};

TEST_F(ButtonPathTest, APressAndReleaseOfAMouseButtonFunctionInjectThatButton) {
    Button(2).ButtonFunc = 3;  // right button
    Store();
    Press(2);
    Release(2);
    ExpectSequence(Input(), {
                                     Step("mouse flags=0x8 dx=0 dy=0 data=0 extra=0xE001 fresh").At(0),
                                     Step("mouse flags=0x10 dx=0 dy=0 data=0 extra=0xE002 fresh").At(0),
                                 });
}

TEST_F(ButtonPathTest, AnEditOfTheSettingsFileTakesEffectAtTheVeryNextPress) {
    Button(4).ButtonFunc = 1;  // left button
    Store();
    Press(4);
    Release(4);
    Button(4).ButtonFunc = 9;  // wheel up
    Store();
    const std::size_t before = Input().size();
    Press(4);
    Release(4);
    ExpectSequence(Input(before), {Step("mouse flags=0x800 dx=0 dy=0 data=120 extra=0xE003 fresh")});
}

TEST_F(ButtonPathTest, VolumeHeldRepeatsOnTheMainWindowTimerUntilReleased) {
    Button(1).ButtonFunc = 25;  // volume up
    Store();
    const std::uint64_t start = fake.Now();
    Press(1);
    fake.windows.RunFor(350);
    Release(1);
    fake.windows.RunFor(500);
    const auto input = Input();
    ASSERT_FALSE(input.empty());
    EXPECT_EQ(Events(fake, {"key "}).front().Time - start, 100u) << "the first tap a period after the press";
    ExpectSequence(input, {
                                     Step("key vk=0xAF scan=0 flags=0x1 extra=0x0").At(0),
                                     Step("key vk=0xAF scan=0 flags=0x3 extra=0x0").At(0),
                                     Step("key vk=0xAF scan=0 flags=0x1 extra=0x0").At(100),
                                     Step("key vk=0xAF scan=0 flags=0x3 extra=0x0").At(100),
                                     Step("key vk=0xAF scan=0 flags=0x1 extra=0x0").At(200),
                                     Step("key vk=0xAF scan=0 flags=0x3 extra=0x0").At(200),
                                 });
}

TEST_F(ButtonPathTest, AWhileHeldMacroPlaysOnTheWorkerThreadAndStopsAfterRelease) {
    ButtonAssignment& macro = Button(3);
    macro.ButtonFunc = 44;
    macro.ButtonID = 65535;  // while held
    const std::uint8_t events[] = {kPress | 0, 2, kUsageA, 0, 3, kUsageA, kPress | 0, 1, kUsageB, 0, 1, kUsageB};
    std::memset(macro.ButtonData, 0, sizeof macro.ButtonData);
    std::memcpy(macro.ButtonData, events, sizeof events);
    macro.KeyNumber = sizeof events;
    Store();

    Press(3);
    // The worker plays pass after pass while the button is held; let two
    // passes come, then release.
    for (int i = 0; i < 500 && fake.input.Events().size() < 8; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Release(3);
    ASSERT_TRUE(fake.windows.WaitUntilThreadsIdle()) << "the worker ends after the pass in progress";
    const auto input = Input();
    ASSERT_GE(input.size(), 8u);
    // One pass is 7 delay units (140 ms), then 50 ms of pause.
    ExpectSequence(std::vector<SequenceEvent>(input.begin(), input.begin() + 8),
                   {
                       Step("key vk=0x41 scan=0 flags=0x1 extra=0x0").At(0),
                       Step("key vk=0x41 scan=0 flags=0x3 extra=0x0").At(40),
                       Step("key vk=0x42 scan=0 flags=0x1 extra=0x0").At(100),
                       Step("key vk=0x42 scan=0 flags=0x3 extra=0x0").At(120),
                       Step("key vk=0x41 scan=0 flags=0x1 extra=0x0").At(190),
                       Step("key vk=0x41 scan=0 flags=0x3 extra=0x0").At(230),
                       Step("key vk=0x42 scan=0 flags=0x1 extra=0x0").At(290),
                       Step("key vk=0x42 scan=0 flags=0x3 extra=0x0").At(310),
                   });
    EXPECT_EQ(input.size() % 4, 0u) << "passes end whole";
}

// Stopping the service while a fixed-count macro plays on the input thread:
// closing the mouse waits for that thread, so the macro ends after the event
// in progress instead of playing its 65534 passes to the end.
TEST_F(ButtonPathTest, StoppingWhileAFixedCountMacroPlaysEndsItAfterTheEventInProgress) {
    ButtonAssignment& macro = Button(3);
    macro.ButtonFunc = 44;
    macro.ButtonID = 65534;  // the most passes
    const std::uint8_t events[] = {kPress | 0, 1, kUsageA, 0, 1, kUsageA};
    std::memset(macro.ButtonData, 0, sizeof macro.ButtonData);
    std::memcpy(macro.ButtonData, events, sizeof events);
    macro.KeyNumber = sizeof events;
    Store();

    ASSERT_TRUE(mouse->PressButton(3));
    for (int i = 0; i < 500 && fake.input.Events().size() < 6; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_GE(fake.input.Events().size(), 6u) << "the macro plays";

    window->DestroyWindow();
    delete window;
    window = nullptr;
    // Everything the shut-down did after it asked the macro to stop, and the
    // input the macro made meanwhile: at most the event in progress.
    const auto calls = fake.Calls();
    std::size_t stopAsked = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].rfind("UnhookWinEvent", 0) == 0) stopAsked = i;
    ASSERT_LT(stopAsked, calls.size()) << "the shut-down ran";
    int afterStop = 0;
    for (std::size_t i = stopAsked; i < calls.size(); ++i)
        if (calls[i].rfind("key ", 0) == 0) ++afterStop;
    // The event in progress, then the release of a key it left down.
    EXPECT_LE(afterStop, 2) << "the macro ends after the event in progress";
    EXPECT_LT(fake.input.Events().size(), 2u * 65534u) << "not every pass was played";
}

}  // namespace

namespace {

// What a press holds before the mouse goes: a button's assignment, and the
// input that shows the press has taken hold.
struct HeldCase {
    const char* name;
    std::function<void(ButtonAssignment&)> assign;
    std::size_t heldOnceInjected;  // events injected before the mouse goes
    std::uint64_t heldMs;          // virtual time held before the mouse goes (timers only)
};

void AssignMacro(ButtonAssignment& button, std::int32_t playMode, std::initializer_list<std::uint8_t> events) {
    button.ButtonFunc = 44;
    button.ButtonID = playMode;
    std::memset(button.ButtonData, 0, sizeof button.ButtonData);
    std::copy(events.begin(), events.end(), button.ButtonData);
    button.KeyNumber = static_cast<std::int32_t>(events.size());
}

// Walks injected input: what is still down at its end, and every up that
// came for something not down (a release sent twice).
struct DownState {
    std::vector<std::string> stillDown;
    std::vector<std::string> strayUps;
};
DownState WalkDowns(const std::vector<SequenceEvent>& input) {
    std::map<std::string, bool> down;
    DownState state;
    for (const SequenceEvent& event : input) {
        unsigned vk = 0, flags = 0;
        std::string what;
        bool press = false;
        if (std::sscanf(event.Text.c_str(), "key vk=0x%x scan=0 flags=0x%x", &vk, &flags) == 2) {
            what = "key " + std::to_string(vk);
            press = (flags & KEYEVENTF_KEYUP) == 0;
        } else if (std::sscanf(event.Text.c_str(), "mouse flags=0x%x", &flags) == 1) {
            if (flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP)) what = "left button";
            press = (flags & MOUSEEVENTF_LEFTDOWN) != 0;
        }
        if (what.empty()) continue;
        if (!press && !down[what]) state.strayUps.push_back(what);
        down[what] = press;
    }
    for (const auto& [what, isDown] : down)
        if (isDown) state.stillDown.push_back(what);
    return state;
}

class HeldInputTest : public ButtonPathTest {
protected:
    void Unplug() {
        mouse->Unplug();
        mouse->WaitUntilDelivered();
        while (fake.windows.PumpMessages() > 0) fake.windows.WaitUntilThreadsIdle();
    }
    // A macro on the worker thread plays as fast as the virtual clock lets
    // it: wait in real time for its first events.
    void WaitForInjected(std::size_t events) {
        for (int i = 0; i < 5000 && fake.input.Events().size() < events; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ASSERT_GE(fake.input.Events().size(), events);
    }
    // Nothing more comes: the count stays the same over a second of virtual time.
    void ExpectNothingRepeats() {
        ASSERT_TRUE(fake.windows.WaitUntilThreadsIdle()) << "every macro ended";
        const std::size_t settled = fake.input.Events().size();
        fake.windows.RunFor(1000);
        ASSERT_TRUE(fake.windows.WaitUntilThreadsIdle());
        EXPECT_EQ(fake.input.Events().size(), settled);
        const DownState state = WalkDowns(Input());
        EXPECT_TRUE(state.stillDown.empty()) << "left down: " << ::testing::PrintToString(state.stillDown);
        EXPECT_TRUE(state.strayUps.empty()) << "released twice: " << ::testing::PrintToString(state.strayUps);
    }
};

// A down, 200 ms, A up, 20 ms.
const HeldCase kHeldCases[] = {
    {"MouseButton", [](ButtonAssignment& b) { b.ButtonFunc = 1; }, 1, 0},
    {"VolumeRepeat", [](ButtonAssignment& b) { b.ButtonFunc = 25; }, 0, 250},
    {"WhileHeldMacro", [](ButtonAssignment& b) { AssignMacro(b, 65535, {kPress | 0, 10, kUsageA, 0, 1, kUsageA}); },
     5, 0},
    {"RepeatUntilPressedMacro",
     [](ButtonAssignment& b) { AssignMacro(b, 0, {kPress | 0, 10, kUsageA, 0, 1, kUsageA}); }, 5, 0},
};

class HeldWhenMouseGoesTest : public HeldInputTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldWhenMouseGoesTest, EverythingHeldIsReleasedOnceAndNothingRepeats) {
    GetParam().assign(Button(5));
    Store();
    Press(5);
    if (GetParam().heldMs > 0) fake.windows.RunFor(GetParam().heldMs);
    WaitForInjected(GetParam().heldOnceInjected);
    Unplug();
    ExpectNothingRepeats();
    if (GetParam().heldOnceInjected == 1) {
        EXPECT_EQ(Input().back().Text, "mouse flags=0x4 dx=0 dy=0 data=0 extra=0xE002 fresh");
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, HeldWhenMouseGoesTest, ::testing::ValuesIn(kHeldCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HeldInputTest, ClosingTheServiceEndsTheMacroReleasesItsKeyAndEndsTheWorker) {
    AssignMacro(Button(3), 65535, {kPress | 0, 10, kUsageA, 0, 1, kUsageA});
    Store();
    Press(3);
    WaitForInjected(5);
    window->DestroyWindow();
    EXPECT_NE(fake.CallIndex("WaitForSingleObject 1000"), -1) << "the worker is waited for";
    ExpectNothingRepeats();
    for (const FakeThread& thread : fake.kernel.Threads()) EXPECT_TRUE(fake.kernel.ThreadEnded(thread.id));
}

}  // namespace
