// The installed service under Wine, seen from outside as a user and the
// sibling programs see it.
#include <gtest/gtest.h>

#include "tests/support/PeerSequences.h"
#include "tests/wine/harness/ServiceHarness.h"

namespace {

using namespace e2e;

class ServiceShellE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        CloseStragglers();
        RemoveTree(DataFolder());
        // Without the HID library there is no mouse: these tests are about the shell.
        folder = MakeInstallCopy({L"HidDevice.dll"});
    }
    void TearDown() override {
        CloseStragglers();
        RemoveTree(folder);
    }
    std::wstring folder;
};

TEST_F(ServiceShellE2E, HiddenPopupToolWindowAt100By100) {
    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    EXPECT_FALSE(IsWindowVisible(service.window));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(service.window, GWL_STYLE)) & ~WS_CLIPSIBLINGS,
              WS_POPUP);
    // The creation handler replaces the extended style: wait for start-up to finish.
    const DWORD start = GetTickCount();
    while (static_cast<DWORD>(GetWindowLongW(service.window, GWL_EXSTYLE)) != WS_EX_TOOLWINDOW &&
           GetTickCount() - start < 10000)
        Sleep(20);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(service.window, GWL_EXSTYLE)), WS_EX_TOOLWINDOW);
    RECT rect{};
    GetWindowRect(service.window, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right - rect.left, 100);
    EXPECT_EQ(rect.bottom - rect.top, 100);
    EXPECT_EQ(GetParent(service.window), nullptr);
    DWORD exitCode = 1;
    EXPECT_TRUE(CloseService(service, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(ServiceShellE2E, SecondStartExitsAtOnceAndFirstKeepsRunning) {
    RunningService first = StartService(folder);
    ASSERT_NE(first.window, nullptr);
    Process second = Start(folder + L"\\mousehid.exe");
    DWORD secondExit = 99;
    EXPECT_TRUE(second.Wait(10000, &secondExit));
    EXPECT_EQ(secondExit, 0u);
    second.Release();
    EXPECT_TRUE(first.process.Running());
    EXPECT_EQ(FindWindowW(nullptr, kServiceTitle), first.window);
    EXPECT_TRUE(CloseService(first));
}

TEST_F(ServiceShellE2E, CloseAsksConfigAndTrayProgramsToCloseThenExits) {
    const std::wstring configLog = folder + L"\\config.log";
    Process config = Start(folder + L"\\configstub.exe", L"window " + std::wstring(kConfigTitle) + L" \"" + configLog + L"\"");
    Process tray = Start(folder + L"\\trayicon.exe");
    ASSERT_NE(WaitForWindow(kConfigTitle, 10000), nullptr);
    ASSERT_NE(WaitForWindow(kTrayTitle, 10000), nullptr);

    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    DWORD exitCode = 1;
    ASSERT_TRUE(CloseService(service, &exitCode));
    EXPECT_EQ(exitCode, 0u);

    // The siblings' logs receive the shut-down's posts, as the host test sees them sent.
    for (const PeerPost& post : kShutDownPosts) {
        const std::wstring log = std::wstring(Wide(post.Title)) == kConfigTitle ? configLog : folder + L"\\trayicon.log";
        EXPECT_TRUE(WaitForLoggedMessage(log, post.Message, 5000)) << "message " << post.Message;
    }
    EXPECT_TRUE(config.Wait(5000));
    EXPECT_TRUE(tray.Wait(5000));
    config.Release();
    tray.Release();
}

TEST_F(ServiceShellE2E, FirstStartProvisionsDataFolderFromInstalledDefaults) {
    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    ASSERT_TRUE(CloseService(service));
    const std::wstring data = DataFolder();
    const struct {
        const wchar_t* installed;
        const wchar_t* provisioned;
    } files[] = {
        {L"config.ini", L"config.ini"},
        {L"Profile 1.ini", L"Profiles\\Profiles\\Profile 1.ini"},
        {L"Macro 1.ini", L"Macros\\Macros\\Macro 1.ini"},
    };
    for (const auto& file : files) {
        const std::string installed = ReadFile(folder + L"\\" + file.installed);
        ASSERT_FALSE(installed.empty());
        ASSERT_TRUE(FileExists(data + file.provisioned));
        // Without a mouse, start-up writes back exactly what the defaults hold.
        EXPECT_EQ(ReadFile(data + file.provisioned), installed);
    }
}

TEST_F(ServiceShellE2E, ExistingSettingsFileMeansNothingIsProvisioned) {
    const std::wstring data = DataFolder();
    CreateDirectoryW(data.c_str(), nullptr);
    WriteFile(data + L"config.ini", ReadFile(folder + L"\\config.ini"));
    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    ASSERT_TRUE(CloseService(service));
    EXPECT_FALSE(FolderExists(data + L"Profiles"));
    EXPECT_FALSE(FolderExists(data + L"Macros"));
}

TEST_F(ServiceShellE2E, MissingInstalledDefaultDoesNotStopTheOthers) {
    RemoveTree(folder);
    folder = MakeInstallCopy({L"HidDevice.dll", L"Profile 1.ini"});
    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    ASSERT_TRUE(CloseService(service));
    const std::wstring data = DataFolder();
    EXPECT_TRUE(FileExists(data + L"config.ini"));
    EXPECT_FALSE(FileExists(data + L"Profiles\\Profiles\\Profile 1.ini"));
    EXPECT_TRUE(FolderExists(data + L"Profiles\\Profiles"));
    EXPECT_EQ(ReadFile(data + L"Macros\\Macros\\Macro 1.ini"), ReadFile(folder + L"\\Macro 1.ini"));
}

}  // namespace
