// Any program can post or send any message to the service's window and its
// thread. Creation, destruction and quit messages that the system did not
// make, and timer messages that name a procedure, change nothing: start-up
// runs once, and shut-down runs exactly once, at the real close.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/MursohidApp.h"
#include "app/MursohidDlg.h"
#include "contract/Names.h"
#include "config/DataFolder.h"
#include "config/SettingsFile.h"
#include "config/SettingsFileAccess.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/ProcessReset.h"
#include "tests/support/SettingsSamples.h"

namespace {

constexpr LPARAM kSomeAddress = 0x12345678;

class ForgedLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        fake.windows.AddForeignWindow(kConfigProgramTitle);
        ASSERT_TRUE(app.InitInstance());
        // Button 0 of the active profile is the left button.
        ServiceSettings settings = samples::DefaultSettings();
        settings.Profiles[0].Buttons[0].ButtonFunc = 1;
        WriteProfileSlot(*std::make_unique<PortableIniFile>(DataFolder() + u"config.ini"), 0, settings.Profiles[0]);
        mouse->WaitUntilDelivered();
        fake.windows.WaitUntilThreadsIdle();
    }
    void TearDown() override {
        app.ExitInstance();
        EXPECT_TRUE(fake.Hangs().empty());
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }

    HWND ServiceWindow() { return fake.windows.FindWindowW(Text(), kServiceWindowTitle); }
    int Count(const std::string& prefix) const {
        int count = 0;
        for (const std::string& call : fake.Calls())
            if (call.rfind(prefix, 0) == 0) ++count;
        return count;
    }
    int StateByteZeroReports() {
        int count = 0;
        for (const SimReceivedReport& report : mouse->ReceivedReports())
            if (FormatReceivedReport(report).find("ff01 07 17 00") != std::string::npos) ++count;
        return count;
    }
    // The press of a button assigned a mouse button (the defaults' button 0).
    std::size_t InputAfterAClick() {
        const std::size_t before = fake.input.Events().size();
        mouse->PressButton(0);
        mouse->ReleaseButton(0);
        mouse->WaitUntilDelivered();
        return fake.input.Events().size() - before;
    }

    FakePlatform fake;
    SimulatedMouse mouse{fake};
    CMursohidApp app;
};

TEST_F(ForgedLifecycleTest, PostedLifecycleQuitAndTimerProcedureMessagesAreDroppedByTheLoop) {
    HWND window = ServiceWindow();
    ASSERT_NE(window, nullptr);
    const std::size_t clickInput = InputAfterAClick();
    ASSERT_GT(clickInput, 0u);
    fake.ClearCalls();

    for (UINT message : {WM_DESTROY, WM_NCDESTROY, WM_CREATE, WM_NCCREATE, WM_QUIT})
        fake.windows.PostMessageW(window, message, 0, 0);
    fake.windows.PostThreadMessageW(FakeWorld::kMainThreadId, WM_QUIT, 3, 0);
    // The volume timer's id with a procedure's address: never carried out.
    fake.windows.PostMessageW(window, WM_TIMER, 1000, kSomeAddress);
    // Then a real close.
    fake.windows.PostMessageW(window, WM_CLOSE, 0, 0);
    const std::size_t inputBefore = fake.input.Events().size();
    app.Run();

    EXPECT_EQ(fake.input.Events().size(), inputBefore) << "the timer message was not carried out";
    EXPECT_EQ(Count("CreateThread"), 0) << "start-up did not run again";
    EXPECT_EQ(Count("SetWinEventHook"), 0);
    EXPECT_EQ(Count("CoUninitialize"), 1) << "shut-down ran once";
    EXPECT_EQ(Count("PostQuitMessage"), 1);
    EXPECT_EQ(StateByteZeroReports(), 1);
    EXPECT_EQ(ServiceWindow(), nullptr);
}

TEST_F(ForgedLifecycleTest, LifecycleMessagesSentFromAnotherThreadChangeNothing) {
    HWND window = ServiceWindow();
    fake.ClearCalls();
    std::atomic<bool> sent{false};
    std::thread other([&] {
        for (UINT message : {WM_CREATE, WM_NCCREATE, WM_DESTROY, WM_NCDESTROY})
            fake.windows.SendMessageW(window, message, 0, 0);
        sent.store(true);
    });
    // This thread answers the sends until the other thread has made them all.
    for (int i = 0; i < 2000 && !sent.load(); ++i) {
        fake.windows.HandleSentMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    while (fake.windows.PumpMessages() > 0) {
    }
    other.join();
    fake.windows.HandleSentMessages();

    EXPECT_EQ(ServiceWindow(), window);
    EXPECT_EQ(Count("CreateThread"), 0);
    EXPECT_EQ(Count("CoUninitialize"), 0);
    EXPECT_EQ(StateByteZeroReports(), 0);
    EXPECT_GT(InputAfterAClick(), 0u) << "presses still become input";

    // The real close still runs the whole shut-down, once.
    fake.windows.PostMessageW(window, WM_CLOSE, 0, 0);
    app.Run();
    EXPECT_EQ(Count("CoUninitialize"), 1);
    EXPECT_EQ(StateByteZeroReports(), 1);
}

TEST_F(ForgedLifecycleTest, TheSessionEndingRunsTheShutDown) {
    fake.ClearCalls();
    fake.windows.PostMessageW(ServiceWindow(), WM_ENDSESSION, FALSE, 0);  // cancelled: nothing
    fake.windows.PostMessageW(ServiceWindow(), WM_ENDSESSION, TRUE, 0);
    app.Run();
    EXPECT_EQ(Count("CoUninitialize"), 1);
    EXPECT_EQ(StateByteZeroReports(), 1);
    EXPECT_EQ(ServiceWindow(), nullptr);
}

}  // namespace
