// The installed service started on a hand-made settings file with values out
// of range: start-up rewrites the file with the corrected values and leaves
// the first profile slot, which it never writes, byte for byte as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/wine/harness/ServiceHarness.h"

namespace {

using namespace e2e;

struct Stage {
    std::int32_t Enabled, X, Y;
};

class SettingsStartupE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        CloseStragglers();
        RemoveTree(DataFolder());
        folder = MakeInstallCopy({L"HidDevice.dll"});  // no mouse
        CreateDirectoryW(DataFolder().c_str(), nullptr);
        ini = DataFolder() + L"config.ini";
        CopyFileW((folder + L"\\config.ini").c_str(), ini.c_str(), FALSE);
    }
    void TearDown() override {
        CloseStragglers();
        RemoveTree(folder);
    }

    void Set(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(WritePrivateProfileStringW(section, key, value, ini.c_str()));
    }
    int Int(const wchar_t* section, const wchar_t* key) {
        return static_cast<int>(GetPrivateProfileIntW(section, key, -12345, ini.c_str()));
    }
    std::wstring String(const wchar_t* section, const wchar_t* key) {
        wchar_t value[256] = {};
        GetPrivateProfileStringW(section, key, L"<missing>", value, 256, ini.c_str());
        return value;
    }
    std::wstring Section(const std::wstring& section) {
        std::wstring buffer(65536, L'\0');
        const DWORD n = GetPrivateProfileSectionW(section.c_str(), &buffer[0],
                                                  static_cast<DWORD>(buffer.size()), ini.c_str());
        buffer.resize(n);
        return buffer;
    }

    void RunServiceOnce() {
        RunningService service = StartService(folder);
        ASSERT_NE(service.window, nullptr);
        DWORD_PTR result = 0;  // returns once the creation handler has finished
        ASSERT_TRUE(SendMessageTimeoutW(service.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result));
        DWORD exitCode = 1;
        ASSERT_TRUE(CloseService(service, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    std::wstring folder;
    std::wstring ini;
};

TEST_F(SettingsStartupE2E, OutOfRangeValuesAreCorrectedAndSlotZeroKeepsItsBytes) {
    Set(L"Setting", L"Profile", L"9");
    Set(L"Setting", L"PollingRate", L"4");
    Set(L"Setting", L"TrayEnabled", L"7");
    Set(L"Setting", L"Mode", nullptr);  // missing
    Set(L"Setting", L"Plug", L"1");
    Set(L"GROUP1", L"LEDLogoEnable", L"1");
    Set(L"GROUP1", L"LIFT", L"11");
    Set(L"GROUP4", L"DPICurrentX", L"0");
    // Stage 2 of slot 2 has X 0: it is completed with that stage's default.
    Stage stages[5] = {{1, 30, 30}, {0, 0, 55}, {1, 70, 70}, {0, 30, 30}, {1, 8, 8}};
    ASSERT_TRUE(WritePrivateProfileStructW(L"GROUP2", L"DPIStageValue", stages, sizeof stages, ini.c_str()));
    // A button without keys in slot 3.
    ASSERT_TRUE(WritePrivateProfileStringW(L"ButtonAssigned3_5", nullptr, nullptr, ini.c_str()));
    // Slot 0 is corrected in memory only, never written back.
    Set(L"GROUP0", L"LEDLogoEnable", L"1");
    Set(L"ButtonAssigned0_1", L"ButtonFunc", L"300");
    Set(L"ButtonAssigned0_10", L"KeyNumber", nullptr);
    std::wstring slotZeroBefore = Section(L"GROUP0");
    for (int n = 1; n <= 10; ++n) slotZeroBefore += Section(L"ButtonAssigned0_" + std::to_wstring(n));

    RunServiceOnce();

    EXPECT_EQ(Int(L"Setting", L"Profile"), 0);
    EXPECT_EQ(Int(L"Setting", L"PollingRate"), 2);
    EXPECT_EQ(Int(L"Setting", L"TrayEnabled"), 1);
    EXPECT_EQ(String(L"Setting", L"Mode"), L"-1");
    EXPECT_EQ(Int(L"Setting", L"Plug"), 0);
    EXPECT_EQ(Int(L"GROUP1", L"LEDLogoEnable"), 4);
    EXPECT_EQ(Int(L"GROUP1", L"LIFT"), 5);
    EXPECT_EQ(Int(L"GROUP4", L"DPICurrentX"), 16);

    Stage read[5] = {};
    ASSERT_TRUE(GetPrivateProfileStructW(L"GROUP2", L"DPIStageValue", read, sizeof read, ini.c_str()));
    const Stage expected[5] = {{1, 30, 30}, {1, 40, 40}, {1, 70, 70}, {0, 30, 30}, {1, 8, 8}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(read[i].Enabled, expected[i].Enabled) << "stage " << i;
        EXPECT_EQ(read[i].X, expected[i].X) << "stage " << i;
        EXPECT_EQ(read[i].Y, expected[i].Y) << "stage " << i;
    }

    EXPECT_EQ(Int(L"ButtonAssigned3_5", L"ButtonFunc"), 5);
    EXPECT_EQ(Int(L"ButtonAssigned3_5", L"ButtonID"), -1);
    EXPECT_EQ(Int(L"ButtonAssigned3_5", L"KeyNumber"), 255);
    EXPECT_EQ(Int(L"ButtonAssigned3_5", L"RepeatType"), 255);

    std::wstring slotZeroAfter = Section(L"GROUP0");
    for (int n = 1; n <= 10; ++n) slotZeroAfter += Section(L"ButtonAssigned0_" + std::to_wstring(n));
    EXPECT_EQ(slotZeroAfter, slotZeroBefore);
}

TEST_F(SettingsStartupE2E, InstalledDefaultsAreWrittenBackUnchangedWithoutMouse) {
    const std::string before = ReadFile(ini);
    RunServiceOnce();
    EXPECT_EQ(ReadFile(ini), before);
}

// Another program holds the settings file open without sharing while the
// service starts with the mouse plugged in, and lets it go during the 2 s
// start-up waits for the tray program. The service retries the read for a
// short time, then runs on the defaults without ever writing them: the file
// is not wiped when it becomes writable again before the start-up writes.
TEST_F(SettingsStartupE2E, FileHeldOpenDuringStartUpIsLeftAsItWas) {
    RemoveTree(folder);
    folder = MakeInstallCopy();  // with the simulated mouse
    Set(L"GROUP1", L"Name", L"Mine");
    Set(L"Setting", L"Plug", L"1");  // what start-up writes with the mouse found
    const std::string before = ReadFile(ini);
    Process holder = Start(folder + L"\\filehold.exe", L"\"" + ini + L"\" 1500");
    ASSERT_NE(holder.handle, nullptr);
    // Held once an open for reading is refused (a loaded machine may take
    // seconds to start the holder).
    bool held = false;
    for (int i = 0; i < 3000 && !held; ++i) {
        HANDLE probe = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) held = GetLastError() == ERROR_SHARING_VIOLATION;
        else CloseHandle(probe);
        if (!held) Sleep(10);
    }
    ASSERT_TRUE(held) << "filehold.exe did not take the file";

    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    DWORD_PTR result = 0;  // returns once the creation handler has finished
    ASSERT_TRUE(SendMessageTimeoutW(service.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result));
    DWORD holderExit = 1;
    ASSERT_TRUE(holder.Wait(10000, &holderExit));
    holder.Release();
    EXPECT_EQ(holderExit, 0u);
    EXPECT_EQ(ReadFile(ini), before);
    EXPECT_TRUE(service.process.Running()) << "the service still runs";
    EXPECT_EQ(FindWindowW(nullptr, kServiceTitle), service.window);

    DWORD exitCode = 1;
    ASSERT_TRUE(CloseService(service, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadFile(ini), before) << "nothing written at shut-down either";
}

// The process killed at points spread over start-up, its settings write
// included: the file is always whole, either as it was or as start-up
// writes it, never cut short.
TEST_F(SettingsStartupE2E, AKillAtAnyPointOfStartUpLeavesTheFileWhole) {
    Set(L"Setting", L"Profile", L"9");  // start-up corrects it: the file is written
    Set(L"Setting", L"Plug", L"0");     // as start-up without a mouse writes it
    const std::string before = ReadFile(ini);
    RunServiceOnce();
    const std::string after = ReadFile(ini);
    ASSERT_NE(before, after) << "start-up writes the file";
    int asBefore = 0, asAfter = 0;
    for (int i = 0; i < 20; ++i) {
        WriteFile(ini, before);
        Process service = Start(folder + L"\\mousehid.exe");
        ASSERT_NE(service.handle, nullptr);
        Sleep(static_cast<DWORD>(i * 60));
        service.Kill();
        service.Wait(5000);
        service.Release();
        CloseStragglers();
        const std::string now = ReadFile(ini);
        EXPECT_TRUE(now == before || now == after) << "kill " << i << " after " << i * 60 << " ms left "
                                                   << now.size() << " bytes";
        asBefore += now == before;
        asAfter += now == after;
    }
    std::printf("killed 20 times: %d files as before, %d as start-up writes them\n", asBefore, asAfter);
}

// Run by settings-full-disk.sh, which puts the data folder on a file system
// with room for config.ini once and not twice: start-up's write cannot be
// made, and the file stays whole with the user's values.
TEST_F(SettingsStartupE2E, AWriteOnAFullDiskLeavesTheOldFileWhole) {
    if (GetEnvironmentVariableW(L"MOUSEHID_FULL_DISK", nullptr, 0) == 0)
        GTEST_SKIP() << "runs under settings-full-disk.sh (a small file system)";
    Set(L"Setting", L"Profile", L"9");  // start-up corrects it: it wants to write
    Set(L"GROUP2", L"Name", L"Mine");
    const std::string before = ReadFile(ini);
    ASSERT_GT(before.size(), 30000u);
    // A second copy of the file does not fit: the write really cannot be made.
    const std::wstring probe = DataFolder() + L"probe.ini";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    const BOOL fitted = WriteFile(file, before.data(), static_cast<DWORD>(before.size()), &written, nullptr);
    CloseHandle(file);
    DeleteFileW(probe.c_str());
    ASSERT_FALSE(fitted && written == before.size()) << "the file system has room for a second copy";
    RunServiceOnce();
    EXPECT_EQ(ReadFile(ini), before) << "the old file stays whole";
    EXPECT_EQ(String(L"GROUP2", L"Name"), L"Mine");
}

}  // namespace
