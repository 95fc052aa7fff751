#include "tests/support/ContractSteps.h"
#include "tests/support/ExpectSequence.h"
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/MursohidApp.h"
#include "app/MursohidDlg.h"
#include "app/ProcessState.h"
#include "contract/Names.h"
#include "app/SiblingPrograms.h"
#include "device/DeviceProtocol.h"
#include "device/HidApiBinding.h"
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
        ResetProcessState();
        SetPlatform(&fake);
        fake.kernel.SetModuleFileName(kExe);
        g_savePcTimerCalls = 0;
        std::memset(g_savePcTimerBytes, 0xAA, sizeof g_savePcTimerBytes);
    }
    void TearDown() override {
        // A thread the service started may not have reached its loop yet:
        // it ends here, while the platform it calls is still in place.
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }

    void InstallHidApi(bool withSavePcTimer) {
        std::map<std::string, void*> exports;
        for (const char* name : kHidApiEntryNames) exports[name] = reinterpret_cast<void*>(&FakeOtherEntry);
        if (withSavePcTimer)
            exports["SavePCtimerWithInDLL"] = reinterpret_cast<void*>(&FakeSavePcTimer);
        else
            exports.erase("SavePCtimerWithInDLL");
        fake.kernel.AddModule(u"HIDApi.dll", exports);
    }

    HWND ServiceWindow() { return fake.windows.FindWindowW(Text(), kServiceWindowTitle); }

    FakePlatform fake;
};

TEST_F(ServiceShellTest, StartUpRunsItsStepsInOrder) {
    InstallHidApi(true);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(app.m_pMainWnd, app.MainDialog);
    // Every step of start-up but the settings file's reads and writes, which
    // the settings tests cover: exact, in order, all at virtual time 0.
    const std::string data = "C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\";
    const std::string install = "C:\\Program Files\\Mouse\\";
    std::vector<Step> expected = {
        Step("CreateMutexW Lunket_GamingMouseHid"),
        Step("CreateWindowExW Lunket_GamingMouseHid"),
        Step("CreateThread stack=4096"),
        Step("SHGetFolderPathW 0x801a"),
        Step("FindFirstFileW " + data + "config.ini"),
        Step("SHCreateDirectoryExW " + data + "Profiles\\Profiles\\"),
        Step("SHCreateDirectoryExW " + data + "Macros\\Macros\\"),
        Step("CopyFileW " + install + "config.ini -> " + data + "config.ini failIfExists"),
        Step("CopyFileW " + install + "Profile 1.ini -> " + data + "Profiles\\Profiles\\Profile 1.ini failIfExists"),
        Step("CopyFileW " + install + "Macro 1.ini -> " + data + "Macros\\Macros\\Macro 1.ini failIfExists"),
        Step("LoadLibraryW HIDApi.dll"),
    };
    for (const char* name : kHidApiEntryNames) expected.push_back(Step(std::string("GetProcAddress ") + name));
    for (const char* step : {"RegOpenKeyExW 0x80000001 Control Panel\\Mouse 0xf003f",
                             "RegCreateKeyW 0x80000001 Control Panel\\Mouse", "SetTimer 1 2000",
                             "SetWindowLongW -20 0x80", "LoadLibraryW HidDevice.dll"})
        expected.push_back(Step(step).At(0));
    EXPECT_TRUE(SequenceMatches(
        Events(fake, {"CreateMutexW", "CreateWindowExW", "CreateThread", "SHGetFolderPathW", "FindFirstFileW",
                      "SHCreateDirectoryExW", "CopyFileW", "LoadLibraryW", "GetProcAddress", "RegOpenKeyExW",
                      "RegCreateKeyW", "SetTimer", "SetWindowLongW", "Sleep", "ShellExecuteW"}),
        expected));
    const int previous = fake.CallIndex("LoadLibraryW HidDevice.dll");
    EXPECT_GT(fake.CallIndex("ReadFile " + data + "config.ini"), fake.CallIndex("RegCreateKeyW"))
        << "the settings are read after the registry key is opened";
    EXPECT_LT(fake.CallIndex("ReadFile " + data + "config.ini"), fake.CallIndex("SetTimer"));

    // Then the mouse is looked for (not found here), Plug is written and the
    // whole settings file rewritten with the validated values.
    const int firstWrite = fake.CallIndex("WriteFile C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini");
    EXPECT_GT(firstWrite, previous);
    const std::string settings = fake.files.File(u"C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini").value_or("");
    EXPECT_NE(settings.find("Plug=0"), std::string::npos);
    EXPECT_LT(settings.find("Plug=0"), settings.find("[GROUP1]"));
    EXPECT_NE(settings.find("PollingRate=2"), std::string::npos);
    EXPECT_TRUE(fake.shell.ShellExecutes().empty());

    EXPECT_EQ(g_savePcTimerCalls, 1);
    for (std::uint8_t byte : g_savePcTimerBytes) EXPECT_EQ(byte, 0);

    // The worker thread gets the main window and its id is published.
    const auto threads = fake.kernel.Threads();
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads[0].parameter, app.MainDialog);
    EXPECT_EQ(WorkerThreadId.load(), threads[0].id);
    EXPECT_EQ(MainWindow.load(), app.MainDialog);
    EXPECT_EQ(fake.shell.OpenRegistryKeys(), 1u) << "the mouse settings key stays open";

    app.ExitInstance();
    EXPECT_EQ(MainWindow.load(), nullptr);
}

TEST_F(ServiceShellTest, MainWindowIsHiddenPopupToolWindowAt100) {
    InstallHidApi(true);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    const FakeWindow* window = fake.windows.Window(ServiceWindow());
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
    const std::size_t windows = fake.windows.Windows().size();
    {
        CMursohidApp second;
        EXPECT_FALSE(second.InitInstance());
        EXPECT_EQ(second.MainDialog, nullptr);
        EXPECT_EQ(second.Mutex, nullptr);
        EXPECT_EQ(fake.windows.Windows().size(), windows);
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
    HWND config = fake.windows.AddForeignWindow(u"Lunket_Driver_Config");
    HWND tray = fake.windows.AddForeignWindow(u"LunketGamingMouseTrayIcon");
    HWND other = fake.windows.AddForeignWindow(u"Lunket_Driver_Config2");
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(fake.shell.OpenRegistryKeys(), 1u);
    fake.ClearCalls();

    fake.windows.PostMessageW(ServiceWindow(), WM_CLOSE, 0, 0);
    const int exitCode = app.Run();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(ServiceWindow(), nullptr);

    for (HWND sibling : {config, tray}) {
        const auto posted = fake.windows.PostedTo(sibling);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].message, WM_CLOSE);
        EXPECT_EQ(posted[0].wParam, 0u);
        EXPECT_EQ(posted[0].lParam, 0);
    }
    EXPECT_TRUE(fake.windows.PostedTo(other).empty());

    std::vector<Step> shutDown = PostedToSibling(kServiceWindowTitle, WM_CLOSE, 0);  // the test closes the service
    for (Step& step : shutDown) step.At(0);
    shutDown += {Step("DestroyWindow").At(0)};
    shutDown += PostedToSibling(kShutDownPosts, 0);
    shutDown += {
        Step("Sleep 50").At(0),
        Step("Sleep 1000").At(50),
        Step("CoUninitialize").At(1050),
        Step("PostQuitMessage 0").At(1050),
        Step("FindWindowW Lunket_GamingMouseHid").At(1050),  // gone
    };
    ExpectSequence(Events(fake, {"FindWindowW", "PostMessageW", "DestroyWindow", "Sleep", "CoUninitialize",
                                 "PostQuitMessage", "SetStateByte"}),
                   shutDown);

    // The application's end closes the registry key and the mutex.
    EXPECT_EQ(fake.shell.OpenRegistryKeys(), 0u);
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
    LaunchTrayProgram();
    LaunchTrayProgram();  // started again each time, without checking
    const auto launches = fake.shell.ShellExecutes();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].owner, nullptr);
    EXPECT_EQ(launches[0].verb, u"open");
    EXPECT_EQ(launches[0].file, u"C:\\Program Files\\Mouse\\trayicon.exe");
    EXPECT_TRUE(launches[0].parameters.empty());
    EXPECT_TRUE(launches[0].directory.empty());
    EXPECT_EQ(launches[0].show, SW_SHOW);
}

}  // namespace
