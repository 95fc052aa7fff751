#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/MursohidApp.h"
#include "app/MursohidDlg.h"
#include "app/ProcessState.h"
#include "app/ServiceNames.h"
#include "device/DeviceList.h"
#include "device/HidApiBinding.h"
#include "device/HidDeviceBinding.h"
#include "device/ReadBackCollector.h"
#include "platform/fake/FakePlatform.h"

namespace {

constexpr char16_t kExe[] = u"C:\\Program Files\\Mouse\\mousehid.exe";

// What the library's start-up entry point was given.
int g_savePcTimerCalls = 0;
std::uint8_t g_savePcTimerBytes[8];

int FakeSavePcTimer(std::uint8_t* buffer) {
    ++g_savePcTimerCalls;
    std::memcpy(g_savePcTimerBytes, buffer, sizeof g_savePcTimerBytes);
    return 1;
}

int FakeOtherEntry(std::uint8_t*) { return 0; }

class ServiceShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&fake);
        // The device link's process-wide state, as a fresh process has it.
        ResetHidDeviceBinding();
        DeviceList.Clear();
        ReadBack.Reset();
        fake.SetModuleFileName(kExe);
        g_savePcTimerCalls = 0;
        std::memset(g_savePcTimerBytes, 0xAA, sizeof g_savePcTimerBytes);
    }
    void TearDown() override { SetPlatform(nullptr); }

    void InstallHidApi(bool withSavePcTimer) {
        std::map<std::string, void*> exports;
        for (const char* name : {"OpenUSB", "WriteUSB", "ReadUSB", "SetFeature", "GetFeature",
                                 "CloseUSB", "InitUSB", "LoadPCtimer", "EncodeSecrecy_V11",
                                 "DecodeSecrecy_V11", "change_PCTimer"})
            exports[name] = reinterpret_cast<void*>(&FakeOtherEntry);
        if (withSavePcTimer)
            exports["SavePCtimerWithInDLL"] = reinterpret_cast<void*>(&FakeSavePcTimer);
        fake.AddModule(u"HIDApi.dll", exports);
    }

    HWND ServiceWindow() { return fake.FindWindowW(Text(), kServiceWindowTitle); }

    FakePlatform fake;
};

TEST_F(ServiceShellTest, StartUpRunsItsStepsInOrder) {
    InstallHidApi(true);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(app.m_pMainWnd, app.MainDialog);

    const std::vector<std::string> expected = {
        "CreateMutexW Lunket_GamingMouseHid",
        "CreateWindowExW Lunket_GamingMouseHid",
        "CreateThread stack=4096",
        "SHGetFolderPathW 0x801a",
        "FindFirstFileW",
        "LoadLibraryW HIDApi.dll",
        "GetProcAddress OpenUSB",
        "GetProcAddress SavePCtimerWithInDLL",
        "RegOpenKeyExW 0x80000001 Control Panel\\Mouse 0xf003f",
        "ReadFile C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini",
        "SetTimer 1 2000",
        "SetWindowLongW -20 0x80",
        "LoadLibraryW HidDevice.dll",
    };
    int previous = -1;
    for (const auto& step : expected) {
        const int index = fake.CallIndex(step);
        ASSERT_GE(index, 0) << step;
        EXPECT_GT(index, previous) << step;
        previous = index;
    }
    // Then the mouse is looked for (not found here), Plug is written and the
    // whole settings file rewritten with the validated values.
    const int firstWrite = fake.CallIndex("WriteFile C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini");
    EXPECT_GT(firstWrite, previous);
    const std::string settings = fake.File(u"C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini").value_or("");
    EXPECT_NE(settings.find("Plug=0"), std::string::npos);
    EXPECT_LT(settings.find("Plug=0"), settings.find("[GROUP1]"));
    EXPECT_NE(settings.find("PollingRate=2"), std::string::npos);
    EXPECT_TRUE(fake.ShellExecutes().empty());

    // The twelve entry points are looked up by name, in the binding's order.
    std::vector<std::string> lookups;
    for (const auto& call : fake.Calls())
        if (call.rfind("GetProcAddress ", 0) == 0) lookups.push_back(call.substr(15));
    EXPECT_EQ(lookups, (std::vector<std::string>{"OpenUSB", "WriteUSB", "ReadUSB", "SetFeature",
                                                 "GetFeature", "CloseUSB", "InitUSB", "LoadPCtimer",
                                                 "EncodeSecrecy_V11", "DecodeSecrecy_V11",
                                                 "change_PCTimer", "SavePCtimerWithInDLL"}));
    EXPECT_EQ(g_savePcTimerCalls, 1);
    for (std::uint8_t byte : g_savePcTimerBytes) EXPECT_EQ(byte, 0);

    // The worker thread gets the main window and its id is published.
    const auto threads = fake.Threads();
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads[0].parameter, app.MainDialog);
    EXPECT_EQ(WorkerThreadId.load(), threads[0].id);
    EXPECT_EQ(MainWindow.load(), app.MainDialog);
    EXPECT_EQ(app.MainDialog->MouseKey.KeyPath(), u"Control Panel\\Mouse");

    app.ExitInstance();
    EXPECT_EQ(MainWindow.load(), nullptr);
}

TEST_F(ServiceShellTest, MainWindowIsHiddenPopupToolWindowAt100) {
    InstallHidApi(true);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    const FakeWindow* window = fake.Window(ServiceWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->className, kServiceWindowClass);
    EXPECT_EQ(window->style, WS_POPUP);  // never shown: no WS_VISIBLE
    EXPECT_EQ(window->exStyle, WS_EX_TOOLWINDOW);
    EXPECT_EQ(window->rect.left, 100);
    EXPECT_EQ(window->rect.top, 100);
    EXPECT_EQ(window->rect.right - window->rect.left, 100);
    EXPECT_EQ(window->rect.bottom - window->rect.top, 100);
    EXPECT_EQ(window->parent, nullptr);
    app.ExitInstance();
}

TEST_F(ServiceShellTest, MissingHidApiLibraryOrEntryIsSkipped) {
    {
        CMursohidApp app;  // no HIDApi.dll at all
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(HidApiBinding.Module, nullptr);
        EXPECT_EQ(HidApiBinding.SavePCtimerWithInDLL, nullptr);
        app.ExitInstance();
    }
    InstallHidApi(false);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_NE(HidApiBinding.Module, nullptr);
    EXPECT_NE(HidApiBinding.DecodeSecrecy_V11, nullptr);
    EXPECT_EQ(HidApiBinding.SavePCtimerWithInDLL, nullptr);
    EXPECT_EQ(g_savePcTimerCalls, 0);
    app.ExitInstance();
}

TEST_F(ServiceShellTest, SecondInstanceEndsAtOnceAndFirstKeepsRunning) {
    CMursohidApp first;
    ASSERT_TRUE(first.InitInstance());
    const std::size_t windows = fake.Windows().size();
    {
        CMursohidApp second;
        EXPECT_FALSE(second.InitInstance());
        EXPECT_EQ(second.MainDialog, nullptr);
        EXPECT_EQ(second.Mutex, nullptr);
        EXPECT_EQ(fake.Windows().size(), windows);
        second.ExitInstance();  // what the framework runs after a failed start
    }
    // The first still holds the name: a third start is refused as well.
    CMursohidApp third;
    EXPECT_FALSE(third.InitInstance());
    third.ExitInstance();
    EXPECT_NE(ServiceWindow(), nullptr);
    first.ExitInstance();
    // Once the first has ended, the name is free again.
    CMursohidApp later;
    EXPECT_TRUE(later.InitInstance());
    later.ExitInstance();
}

TEST_F(ServiceShellTest, CloseAsksSiblingsToCloseThenReleasesAndQuits) {
    InstallHidApi(true);
    HWND config = fake.AddForeignWindow(u"Lunket_Driver_Config");
    HWND tray = fake.AddForeignWindow(u"LunketGamingMouseTrayIcon");
    HWND other = fake.AddForeignWindow(u"Lunket_Driver_Config2");
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(app.MainDialog->MouseKey.Key() != nullptr, true);
    fake.ClearCalls();

    fake.PostMessageW(ServiceWindow(), WM_CLOSE, 0, 0);
    const int exitCode = app.Run();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(ServiceWindow(), nullptr);

    for (HWND sibling : {config, tray}) {
        const auto posted = fake.PostedTo(sibling);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].message, WM_CLOSE);
        EXPECT_EQ(posted[0].wParam, 0u);
        EXPECT_EQ(posted[0].lParam, 0);
    }
    EXPECT_TRUE(fake.PostedTo(other).empty());

    const int toConfig = fake.CallIndex("FindWindowW Lunket_Driver_Config");
    const int toTray = fake.CallIndex("FindWindowW LunketGamingMouseTrayIcon");
    const int settle = fake.CallIndex("Sleep 50");
    const int release = fake.CallIndex("Sleep 1000");
    const int com = fake.CallIndex("CoUninitialize");
    const int quit = fake.CallIndex("PostQuitMessage 0");
    EXPECT_LT(toConfig, toTray);
    EXPECT_LT(toTray, settle);
    EXPECT_EQ(release, settle + 1);
    EXPECT_LT(release, com);
    EXPECT_LT(com, quit);

    // The application's end closes the registry key and the mutex.
    EXPECT_EQ(fake.OpenRegistryKeys(), 0u);
    EXPECT_NE(fake.CallIndex("ReleaseMutex"), -1);
    EXPECT_EQ(app.Mutex, nullptr);
    EXPECT_EQ(app.MainDialog, nullptr);
}

TEST_F(ServiceShellTest, AfxWinMainReturnsAtOnceForSecondInstance) {
    CMursohidApp first;
    ASSERT_TRUE(first.InitInstance());
    first.m_pMainWnd = nullptr;  // keep the first out of the framework's way
    {
        // AfxWinMain drives the most recently constructed application object.
        CMursohidApp second;
        EXPECT_EQ(AfxWinMain(), 0);
        EXPECT_EQ(second.MainDialog, nullptr);
    }
    first.m_pMainWnd = first.MainDialog;
    first.ExitInstance();
}

TEST_F(ServiceShellTest, TrayProgramStartsFromServiceFolder) {
    CMursohidDlg dialog;
    dialog.LaunchTrayProgram();
    dialog.LaunchTrayProgram();  // started again each time, without checking
    const auto launches = fake.ShellExecutes();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].owner, nullptr);
    EXPECT_EQ(launches[0].verb, u"open");
    EXPECT_EQ(launches[0].file, u"C:\\Program Files\\Mouse\\trayicon.exe");
    EXPECT_TRUE(launches[0].parameters.empty());
    EXPECT_TRUE(launches[0].directory.empty());
    EXPECT_EQ(launches[0].show, SW_SHOW);
}

}  // namespace
