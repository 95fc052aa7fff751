// The installed service driven by its sibling programs under Wine: stand-in
// windows for "Lunket_Driver_Config" and "Pevo_Driver_Config" that log what
// they receive, the simulated mouse and its log, the settings file, the tray
// program, and a program named in a profile's Launch that takes the
// foreground.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "hidsim/win32/ControlChannel.h"
#include "contract/Messages.h"
#include "contract/Timers.h"
#include "tests/wine/harness/ServiceHarness.h"

namespace {

using namespace e2e;

const wchar_t* const kReadBackTitle = Wide(kReadBackProgramTitle);
constexpr wchar_t kGameTitle[] = L"Quest of the Stand-In";

struct Logged {
    unsigned long long time;
    UINT message;
    unsigned long long wParam;
};

class ControlE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        CloseStragglers();
        CloseWindow(kReadBackTitle);
        CloseWindow(kGameTitle);
        RemoveTree(DataFolder());
        folder = MakeInstallCopy();
        mouseLog = folder + L"\\hidsim.log";
        configLog = folder + L"\\config.log";
        readBackLog = folder + L"\\pevo.log";
        SetEnvironmentVariableW(L"HIDSIM_LOG", mouseLog.c_str());
        SetEnvironmentVariableW(L"HIDSIM_PIPE", (L"HidSimControl-" + std::to_wstring(GetCurrentProcessId())).c_str());
        SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", nullptr);
        configStandIn = Start(folder + L"\\configstub.exe", L"window Lunket_Driver_Config \"" + configLog + L"\"");
        readBackStandIn = Start(folder + L"\\configstub.exe", L"window Pevo_Driver_Config \"" + readBackLog + L"\"");
        ASSERT_NE(WaitForWindow(kConfigTitle, 10000), nullptr);
        ASSERT_NE(WaitForWindow(kReadBackTitle, 10000), nullptr);
    }

    void TearDown() override {
        if (service.process.handle != nullptr) CloseService(service);
        CloseWindow(kGameTitle);
        CloseWindow(kReadBackTitle);
        CloseStragglers();
        for (Process* p : {&configStandIn, &readBackStandIn, &game}) {
            p->Wait(5000);
            p->Kill();
            p->Release();
        }
        SetEnvironmentVariableW(L"HIDSIM_LOG", nullptr);
        SetEnvironmentVariableW(L"HIDSIM_PIPE", nullptr);
        RemoveTree(folder);
    }

    static void CloseWindow(const wchar_t* title) {
        if (HWND window = FindWindowW(nullptr, title)) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            WaitForNoWindow(title, 5000);
        }
    }

    void StartTheService() {
        service = StartService(folder);
        ASSERT_NE(service.window, nullptr);
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(service.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result))
            << "start-up ends";
    }

    // A message handled to its end, as a sibling's SendMessage.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutW(service.window, message, wParam, lParam, SMTO_NORMAL, 30000, &result));
        return static_cast<LRESULT>(result);
    }
    // Posted; everything posted before it has been handled when the stage
    // answer (0x4D6) reaches the configuration stand-in.
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        ASSERT_TRUE(PostMessageW(service.window, message, wParam, lParam));
    }
    void WaitForQueue() {
        const std::size_t before = Count(configLog, kNotifyStage);
        Post(kMsgReadStage);
        ASSERT_TRUE(WaitFor([&] { return Count(configLog, kNotifyStage) > before; }, 30000)) << "the queue ran";
    }

    static bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > timeoutMs) return false;
            Sleep(20);
        }
        return true;
    }

    static std::vector<Logged> Messages(const std::wstring& log) {
        std::vector<Logged> out;
        for (const auto& line : LogLines(log)) {
            unsigned long long time = 0, w = 0;
            long long l = 0;
            unsigned message = 0;
            if (std::sscanf(line.c_str(), "%llu msg=0x%x wParam=%llu lParam=%lld", &time, &message, &w, &l) == 4)
                out.push_back(Logged{time, message, w});
        }
        return out;
    }
    static std::size_t Count(const std::wstring& log, UINT message) {
        std::size_t n = 0;
        for (const auto& m : Messages(log)) n += m.message == message;
        return n;
    }
    static const Logged* Last(const std::wstring& log, UINT message) {
        static Logged found;
        bool any = false;
        for (const auto& m : Messages(log))
            if (m.message == message) {
                found = m;
                any = true;
            }
        return any ? &found : nullptr;
    }

    int Setting(const wchar_t* section, const wchar_t* key) {
        return static_cast<int>(GetPrivateProfileIntW(section, key, -99, (DataFolder() + L"config.ini").c_str()));
    }

    std::string Control(const std::string& request) {
        std::string answer;
        EXPECT_TRUE(CallControlPipe(request, answer)) << request;
        return answer;
    }
    // The mouse's log, each line without its time.
    std::vector<std::string> MouseEvents() {
        std::vector<std::string> events;
        for (const auto& line : LogLines(mouseLog)) events.push_back(line.substr(line.find(' ') + 1));
        return events;
    }
    std::string LastMouseEvent() {
        const auto events = MouseEvents();
        return events.empty() ? std::string() : events.back();
    }

    std::wstring folder, mouseLog, configLog, readBackLog;
    Process configStandIn, readBackStandIn, game;
    RunningService service;
};

TEST_F(ControlE2E, EachConfigurationMessageReachesTheMouseWithItsBytes) {
    StartTheService();
    struct Case {
        UINT message;
        WPARAM wParam;
        const char* lastReport;
        const char* memory;
    };
    const Case cases[] = {
        {kMsgSetPollingRate, 1, "ff01 07 01 01 00 00 00 00 00", "rate=1\n"},
        {kMsgSetPollingRate, 3, "ff01 07 01 00 00 00 00 00 00", "rate=0\n"},
        {kMsgSetLiftOff, 7, "ff01 07 08 01 07 01 00 00 00", "lift=7\n"},
        {kMsgWriteStages, 2, "ff01 07 09 01 02 00 00 00 00", "stage=2\n"},
        {kMsgSetStateByte, 1, "ff01 07 17 01 00 00 00 00 00", "state=1\n"},
        {kMsgSetLogoLight, 4, "ff01 07 0a 01 00 ff 00 00 00", "logo=255\n"},
        {kMsgSetLogoLight, 0, "ff01 07 0a 01 00 00 00 00 00", "logo=0\n"},
        {kMsgSetUniversalScroll, 0, "ff01 07 07 01 00 00 00 00 00", "scroll=0\n"},
        {kMsgSetUniversalScroll, 1, "ff01 07 07 01 01 00 00 00 00", "scroll=1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.message) + " " + std::to_string(c.wParam));
        Send(c.message, c.wParam);
        EXPECT_EQ(LastMouseEvent(), c.lastReport);
        EXPECT_NE(Control("memory").find(std::string("\n") + c.memory), std::string::npos);
    }
    EXPECT_EQ(Setting(L"Setting", L"PollingRate"), 3) << "kept as given";
    // The stages before the selection: the active profile's from the file.
    const auto events = MouseEvents();
    ASSERT_GE(events.size(), 4u);
}

TEST_F(ControlE2E, TheMouseStageIsAnsweredToTheConfigurationProgram) {
    StartTheService();
    Send(kMsgWriteStages, 3);
    Send(kMsgReadStage);
    ASSERT_TRUE(WaitFor([&] { return Last(configLog, kNotifyStage) != nullptr; }, 5000));
    EXPECT_EQ(Last(configLog, kNotifyStage)->wParam, 3u);
}

TEST_F(ControlE2E, UnplugAndPlugKeepPlugTheTrayAndTheStandInsRight) {
    StartTheService();
    ASSERT_NE(WaitForWindow(kTrayTitle, 10000), nullptr);
    EXPECT_EQ(Control("unplug"), "ok\n");
    EXPECT_TRUE(WaitForNoWindow(kTrayTitle, 10000)) << "the tray program is closed";
    EXPECT_TRUE(WaitFor([&] { return Count(configLog, kNotifyDeviceChanged) == 1; }, 10000));
    WaitForQueue();
    EXPECT_EQ(Setting(L"Setting", L"Plug"), 0);
    EXPECT_EQ(Count(configLog, kNotifyMouseRemoved), 1u);

    EXPECT_EQ(Control("plug"), "ok\n");
    EXPECT_NE(WaitForWindow(kTrayTitle, 10000), nullptr) << "the tray program is started again";
    EXPECT_TRUE(WaitFor([&] { return Count(configLog, kNotifyDeviceChanged) == 2; }, 10000));
    WaitForQueue();
    EXPECT_EQ(Setting(L"Setting", L"Plug"), 1);
    const auto events = MouseEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), "ff01 07 80 00 00 00 00 00 00"), events.end())
        << "probed on arrival";
    // Commands reach the mouse again without a reopen.
    Send(kMsgSetStateByte, 2);
    EXPECT_EQ(LastMouseEvent(), "ff01 07 17 02 00 00 00 00 00");
}

TEST_F(ControlE2E, ArrivalAndRemovalNoticesKeepPlugAndTheTrayRight) {
    StartTheService();
    ASSERT_NE(WaitForWindow(kTrayTitle, 10000), nullptr);
    Post(kMsgMouseData, 0xFFFD);
    EXPECT_TRUE(WaitForNoWindow(kTrayTitle, 10000));
    WaitForQueue();
    EXPECT_EQ(Setting(L"Setting", L"Plug"), 0);
    EXPECT_EQ(Count(configLog, kNotifyMouseRemoved), 1u);

    const unsigned long long posted = WallClockMs();
    Post(kMsgMouseData, 0xFFFE);
    ASSERT_NE(WaitForWindow(kTrayTitle, 15000), nullptr);
    WaitForQueue();
    EXPECT_EQ(Setting(L"Setting", L"Plug"), 1);
    unsigned long long started = 0;
    for (const auto& line : LogLines(folder + L"\\trayicon.log"))
        if (line.find(" started") != std::string::npos) started = std::stoull(line);
    EXPECT_GE(started, posted) << "started again after the notice";
    std::printf("tray program started %lld ms after the arrival notice\n",
                static_cast<long long>(started) - static_cast<long long>(posted));
}

TEST_F(ControlE2E, ConsoleDisconnectAndConnectKeepPlugTheTrayAndTheMouseRight) {
    StartTheService();
    ASSERT_NE(WaitForWindow(kTrayTitle, 10000), nullptr);
    Send(WM_WTSSESSION_CHANGE, 2);
    EXPECT_EQ(Setting(L"Setting", L"Plug"), 0);
    EXPECT_EQ(LastMouseEvent(), "close");
    EXPECT_TRUE(WaitForNoWindow(kTrayTitle, 10000));

    Send(WM_WTSSESSION_CHANGE, 1);
    EXPECT_EQ(Setting(L"Setting", L"Plug"), 1);
    EXPECT_EQ(LastMouseEvent(), "open 1");
    EXPECT_NE(WaitForWindow(kTrayTitle, 10000), nullptr);
    Send(kMsgSetStateByte, 3);
    EXPECT_EQ(LastMouseEvent(), "ff01 07 17 03 00 00 00 00 00");
}

TEST_F(ControlE2E, AProgramNamedInALaunchThatTakesTheForegroundMakesItsProfileActive) {
    // The configuration program names the game in slot 3 and has the
    // service reload; the game is a copy of the stand-in under its own name.
    StartTheService();
    ASSERT_TRUE(WritePrivateProfileStringW(L"GROUP3", L"Launch", L"QUEST.exe", (DataFolder() + L"config.ini").c_str()));
    Send(kMsgReloadSettings);
    ASSERT_TRUE(CopyFileW((folder + L"\\configstub.exe").c_str(), (folder + L"\\Quest.exe").c_str(), FALSE));
    game = Start(folder + L"\\Quest.exe", std::wstring(L"window \"") + kGameTitle + L"\" \"" + folder + L"\\quest.log\"");
    HWND window = WaitForWindow(kGameTitle, 10000);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    const unsigned long long forward = WallClockMs();
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitFor([&] { return Last(configLog, kNotifyProfileOrMacroButton) != nullptr; }, 10000)) << "0x4D5 reached the stand-in";
    const Logged switched = *Last(configLog, kNotifyProfileOrMacroButton);
    EXPECT_EQ(switched.wParam, 3u);
    EXPECT_EQ(Setting(L"Setting", L"Profile"), 3);
    // Wine 8 sends no EVENT_SYSTEM_FOREGROUND (other out-of-context events
    // it does): here timer 1 switches, somewhere within its 2 s.
    std::printf("foreground to 0x4D5 at the configuration program: %lld ms\n",
                static_cast<long long>(switched.time - forward));

    // Another program in front leaves the profile.
    CloseWindow(kGameTitle);
    Sleep(2500);
    EXPECT_EQ(Setting(L"Setting", L"Profile"), 3);
    EXPECT_EQ(Count(configLog, kNotifyProfileOrMacroButton), 1u);
}

TEST_F(ControlE2E, NotificationsWithHostileParametersLeaveTheServiceRunning) {
    StartTheService();
    const LPARAM hostile[] = {0,
                              1,
                              2,
                              0xFFFF,
                              0x10000,
                              -1,
                              static_cast<LPARAM>(0x12345678),
                              static_cast<LPARAM>(0x7FFE0000),
                              static_cast<LPARAM>(0xDEADBEEFDEADBEEFULL),
                              reinterpret_cast<LPARAM>(service.window)};
    for (LPARAM l : hostile)
        for (WPARAM w : {0, 1, 2}) Post(kMsgDeviceNotification, w, l);
    // A timer message with a made-up callback address is not called through.
    Post(WM_TIMER, 4242, static_cast<LPARAM>(0x12345678));
    WaitForQueue();
    EXPECT_TRUE(service.process.Running());
    // The collection list is as it was: commands reach the mouse.
    Send(kMsgSetStateByte, 5);
    EXPECT_EQ(LastMouseEvent(), "ff01 07 17 05 00 00 00 00 00");
    DWORD exitCode = 1;
    EXPECT_TRUE(CloseService(service, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    service = RunningService{};
}

// The service writes the mouse, reads its button table back and adopts
// it: what it reads is what it wrote, so the settings file stays byte for
// byte, also for the buttons whose written code the read-back names as
// another function.
TEST_F(ControlE2E, ReadingBackAndAdoptingAfterAFullWriteLeavesTheSettingsFileAsItWas) {
    StartTheService();
    Send(kMsgFullWrite);
    const std::wstring file = DataFolder() + L"config.ini";
    const std::string before = ReadFile(file);
    ASSERT_FALSE(before.empty());
    const std::size_t mark = MouseEvents().size();
    Post(WM_TIMER, kReadBackStep1TimerId);
    auto sentSinceMark = [&] {
        const auto events = MouseEvents();
        std::size_t sent = 0;
        for (std::size_t i = mark; i < events.size(); ++i) sent += events[i].rfind("input", 0) == 0;
        return sent;
    };
    ASSERT_TRUE(WaitFor([&] { return sentSinceMark() > 0; }, 15000)) << "the mouse answered the read-back";
    // The chain's steps follow each other within a second; then all is quiet.
    std::size_t seen = 0;
    for (int quiet = 0; quiet < 8;) {
        Sleep(250);
        const std::size_t now = MouseEvents().size();
        quiet = now == seen ? quiet + 1 : 0;
        seen = now;
    }
    const std::size_t adoptedBefore = Count(readBackLog, kNotifyDeviceImageAdopted);
    Send(kMsgAdoptDeviceImage);
    ASSERT_TRUE(WaitFor([&] { return Count(readBackLog, kNotifyDeviceImageAdopted) > adoptedBefore; }, 5000))
        << "the adoption was written and told";
    EXPECT_EQ(ReadFile(file), before);
}

}  // namespace
