// The installed service with the simulated mouse beside it: start-up with
// and without the mouse, the control channel, and the state byte the mouse
// receives before it is released at shut-down.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hidsim/win32/ControlChannel.h"
#include "tests/wine/harness/ServiceHarness.h"

namespace {

using namespace e2e;

class DeviceE2E : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        CloseStragglers();
        RemoveTree(DataFolder());
        folder = MakeInstallCopy();
        // A settings file that says the opposite of what start-up must write.
        CreateDirectoryW(DataFolder().c_str(), nullptr);
        CopyFileW((folder + L"\\config.ini").c_str(), (DataFolder() + L"config.ini").c_str(), FALSE);
        WritePrivateProfileStringW(L"Setting", L"Plug", GetParam() ? L"0" : L"1",
                                   (DataFolder() + L"config.ini").c_str());
        mouseLog = folder + L"\\hidsim.log";
        pipe = L"HidSimE2E-" + std::to_wstring(GetCurrentProcessId());
        SetEnvironmentVariableW(L"HIDSIM_LOG", mouseLog.c_str());
        SetEnvironmentVariableW(L"HIDSIM_PIPE", pipe.c_str());
        SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", GetParam() ? nullptr : L"1");
    }
    void TearDown() override {
        CloseStragglers();
        SetEnvironmentVariableW(L"HIDSIM_LOG", nullptr);
        SetEnvironmentVariableW(L"HIDSIM_PIPE", nullptr);
        SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", nullptr);
        RemoveTree(folder);
    }

    // Returns once the service has finished its creation handler.
    static void WaitForStartUp(HWND window) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result));
    }

    int PlugValue() {
        const std::wstring ini = DataFolder() + L"config.ini";
        return static_cast<int>(GetPrivateProfileIntW(L"Setting", L"Plug", -1, ini.c_str()));
    }

    std::vector<std::string> MouseLog() { return LogLines(mouseLog); }

    std::wstring folder;
    std::wstring mouseLog;
    std::wstring pipe;
};

TEST_P(DeviceE2E, StartUpWritesPlugAndStartsTheTrayOnlyWithTheMouse) {
    const bool plugged = GetParam();
    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    const unsigned long long windowSeen = WallClockMs();
    WaitForStartUp(service.window);

    EXPECT_EQ(PlugValue(), plugged ? 1 : 0);
    if (plugged) {
        ASSERT_NE(WaitForWindow(kTrayTitle, 10000), nullptr);
        const unsigned long long trayStarted = LoggedStartTime(folder + L"\\trayicon.log");
        ASSERT_NE(trayStarted, 0u);
        std::printf("tray program started %lld ms after the service window was seen\n",
                    static_cast<long long>(trayStarted) - static_cast<long long>(windowSeen));
        // The service waits 2 s after opening the mouse; the window existed before.
        EXPECT_GE(trayStarted + 100, windowSeen + 2000 - 100) << "tray at " << trayStarted - windowSeen;
        EXPECT_LT(trayStarted, windowSeen + 8000);
    } else {
        EXPECT_FALSE(FileExists(folder + L"\\trayicon.log"));
        EXPECT_EQ(FindWindowW(nullptr, kTrayTitle), nullptr);
    }

    std::string answer;
    ASSERT_TRUE(CallControlPipe("status", answer));
    EXPECT_EQ(answer, plugged ? "ok\nplugged=1\n" : "ok\nplugged=0\n");
    ASSERT_TRUE(CallControlPipe("log", answer));
    EXPECT_EQ(answer, "ok\n") << "start-up writes nothing into the mouse";
    EXPECT_TRUE(CloseService(service));
}

TEST_P(DeviceE2E, ClosingSendsStateByteZeroBeforeReleasingTheMouse) {
    const bool plugged = GetParam();
    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    WaitForStartUp(service.window);
    DWORD exitCode = 1;
    ASSERT_TRUE(CloseService(service, &exitCode));
    EXPECT_EQ(exitCode, 0u);

    std::vector<std::string> events;
    for (const auto& line : MouseLog()) events.push_back(line.substr(line.find(' ') + 1));
    if (plugged) {
        EXPECT_EQ(events, (std::vector<std::string>{"open 1", "ff01 07 17 00 00 00 00 00 00", "close"}));
    } else {
        // The guard tries to reopen for the state byte; nothing reaches the mouse.
        EXPECT_EQ(events, (std::vector<std::string>{"open 0", "open 0", "close"}));
    }
}

TEST_P(DeviceE2E, ControlChannelPlugsUnplugsAndSendsReports) {
    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    WaitForStartUp(service.window);
    std::string answer;
    ASSERT_TRUE(CallControlPipe("unplug", answer));
    EXPECT_EQ(answer, "ok\n");
    ASSERT_TRUE(CallControlPipe("press 3", answer));
    EXPECT_EQ(answer, "error: mouse not open\n");
    ASSERT_TRUE(CallControlPipe("plug", answer));
    ASSERT_TRUE(CallControlPipe("press 3", answer));
    EXPECT_EQ(answer, "ok\n");
    ASSERT_TRUE(CallControlPipe("report 03 f0", answer));
    EXPECT_EQ(answer, "ok\n");
    ASSERT_TRUE(CallControlPipe("memory", answer));
    EXPECT_NE(answer.find("\nstate=0\n"), std::string::npos) << answer.substr(0, 200);
    ASSERT_TRUE(CallControlPipe("frobnicate", answer));
    EXPECT_EQ(answer, "error: unknown request\n");
    EXPECT_TRUE(CloseService(service));
    // Re-plugged: the service's collection list was refilled, so shut-down reaches the mouse.
    const auto lines = MouseLog();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(lines[lines.size() - 2].find("ff01 07 17 00"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(MouseAtStartUp, DeviceE2E, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Plugged" : "Unplugged"; });

}  // namespace
