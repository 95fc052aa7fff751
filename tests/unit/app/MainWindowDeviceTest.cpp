// The main window with the simulated mouse: start-up opens it and starts
// the tray program, shut-down sends the state byte before releasing it, and
// input reports reach the window through MainWindow.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <algorithm>

#include "app/MursohidDlg.h"
#include "app/ProcessState.h"
#include "device/DeviceSession.h"
#include "device/DeviceList.h"
#include "device/HidDeviceBinding.h"
#include "device/ReadBackCollector.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"

namespace {

class MainWindowDeviceTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        ResetHidDeviceBinding();
        DeviceList.Clear();
        ReadBack.Reset();
        if (!GetParam()) mouse->Unplug();
        mouse->SetLogSink([this](const std::string& line) { log.push_back(line); });
    }
    void TearDown() override {
        mouse->WaitUntilDelivered();
        SetPlatform(nullptr);
    }

    FakePlatform fake;
    SimulatedMouse mouse{fake};
    std::vector<std::string> log;
};

TEST_P(MainWindowDeviceTest, StartUpOpensTheMouseAndStartsTheTrayOnlyWhenFound) {
    const bool plugged = GetParam();
    auto* dlg = new CMursohidDlg;
    ASSERT_TRUE(dlg->CreateServiceWindow());
    EXPECT_EQ((dlg->Device().IsOpen() ? 1 : 0), plugged ? 1 : 0);
    EXPECT_EQ(DeviceList.Count(), plugged ? 2u : 0u);
    const auto launches = fake.shell.ShellExecutes();
    ASSERT_EQ(launches.size(), plugged ? 1u : 0u);
    if (plugged) {
        EXPECT_EQ(launches[0].file, u"C:\\Program Files\\Mouse\\trayicon.exe");
        EXPECT_EQ(launches[0].time, 2000u);
    }
    EXPECT_TRUE(mouse->ReceivedReports().empty()) << "start-up writes nothing into the mouse";

    dlg->DestroyWindow();
    const auto reports = mouse->ReceivedReports();
    if (plugged) {
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(FormatReceivedReport(reports[0]).substr(5), "ff01 07 17 00 00 00 00 00 00");
        ASSERT_GE(log.size(), 2u);
        EXPECT_NE(log[log.size() - 2].find("ff01 07 17 00"), std::string::npos);
        EXPECT_NE(log.back().find("close"), std::string::npos) << "released after the state byte";
        // Released after the state byte's 500 ms and the 50 + 1000 ms that follow.
        EXPECT_EQ(std::stoull(log.back()) - std::stoull(log[log.size() - 2]), 1550u);
    } else {
        EXPECT_TRUE(reports.empty());
    }
    delete dlg;
}

// The report rate is kept in the settings file only when the mouse is there
// to take it; index 3 is stored as 3 and goes out as code 0.
TEST_P(MainWindowDeviceTest, PollingRateIsStoredAndSentOnlyWithTheMouse) {
    const bool plugged = GetParam();
    auto* dlg = new CMursohidDlg;
    ASSERT_TRUE(dlg->CreateServiceWindow());
    const Text path = u"C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini";
    const std::string before = fake.files.File(path).value_or("");
    ASSERT_NE(before.find("PollingRate=2\r\n"), std::string::npos);
    mouse->ClearReceivedReports();

    EXPECT_EQ(dlg->Controls().SetPollingRate(3), plugged ? 1 : 0);
    const std::string after = fake.files.File(path).value_or("");
    const auto reports = mouse->ReceivedReports();
    if (plugged) {
        EXPECT_NE(after.find("PollingRate=3\r\n"), std::string::npos);
        std::string expected = before;
        expected.replace(expected.find("PollingRate=2"), 13, "PollingRate=3");
        EXPECT_EQ(after, expected) << "only the one key changes";
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(FormatReceivedReport(reports[0]).substr(5), "ff01 07 01 00 00 00 00 00 00");
        EXPECT_EQ(dlg->Controls().SetPollingRate(0), 1);
        EXPECT_NE(fake.files.File(path).value_or("").find("PollingRate=0\r\n"), std::string::npos);
        ASSERT_EQ(mouse->ReceivedReports().size(), 2u);
        EXPECT_EQ(FormatReceivedReport(mouse->ReceivedReports()[1]).substr(5), "ff01 07 01 03 00 00 00 00 00");
    } else {
        EXPECT_EQ(after, before) << "nothing is stored without the mouse";
        EXPECT_TRUE(reports.empty());
    }
    dlg->DestroyWindow();
    delete dlg;
}

INSTANTIATE_TEST_SUITE_P(PluggedAndUnplugged, MainWindowDeviceTest, ::testing::Bool());

class MainWindowInputTest : public MainWindowDeviceTest {};

TEST_P(MainWindowInputTest, ReportsReachTheWindowAndReadBackCompletes) {
    auto* dlg = new CMursohidDlg;
    ASSERT_TRUE(dlg->CreateServiceWindow());
    ASSERT_EQ(MainWindow.load(), dlg);
    mouse->PressButton(3);
    mouse->WaitUntilDelivered();
    const auto lines = fake.DebugLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), Text(u"00 07 42 00 03 01 00 00 00\n")), lines.end());

    EXPECT_EQ(dlg->Device().RequestReadBack(), 0);
    mouse->WaitUntilDelivered();
    EXPECT_EQ((dlg->Device().ShortReadPending() ? 1 : 0), 0);
    EXPECT_EQ(ReadBack.Counter(), 0);
    dlg->DestroyWindow();
    delete dlg;
}

INSTANTIATE_TEST_SUITE_P(Plugged, MainWindowInputTest, ::testing::Values(true));

}  // namespace
