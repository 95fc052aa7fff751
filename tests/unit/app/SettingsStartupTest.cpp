// Start-up on a settings file that another program holds open: the service
// runs on the defaults and never writes them over the file, until a later
// read succeeds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/MursohidApp.h"
#include "app/MursohidDlg.h"
#include "config/SettingsStore.h"
#include "config/DataFolder.h"
#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "device/DeviceList.h"
#include "device/HidDeviceBinding.h"
#include "device/ReadBackCollector.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/SettingsSamples.h"

namespace {

constexpr char16_t kSettingsPath[] = u"C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini";

class SettingsStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&fake);
        ResetHidDeviceBinding();
        DeviceList.Clear();
        ReadBack.Reset();
        // A user's file: slot 3 named, PollingRate out of range (start-up would correct it).
        fake.files.AddFolder(u"C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb");
        PortableIniFile file(kSettingsPath);
        const ServiceSettings full = samples::FullSettings();
        WriteAllSettings(file, full);
        WriteProfileSlot(file, 0, full.Profiles[0]);
        file.WriteInt(u"Setting", u"PollingRate", 9);
        userFile = fake.files.File(kSettingsPath).value_or("");
        ASSERT_FALSE(userFile.empty());
    }
    void TearDown() override {
        // A thread the service started may not have reached its loop yet:
        // it ends here, while the platform it calls is still in place.
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }

    FakePlatform fake;
    std::string userFile;
};

TEST_F(SettingsStartupTest, AFileHeldThroughStartUpIsNotWrittenAndTheServiceRunsOnDefaults) {
    fake.files.HoldFile(kSettingsPath);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    CMursohidDlg& dlg = *app.MainDialog;
    EXPECT_FALSE(dlg.Settings().ReadFromFile());
    const auto working = std::make_unique<ServiceSettings>(dlg.Settings().Working());
    EXPECT_EQ(working->PollingRate, 2);
    EXPECT_EQ(working->Profiles[3].Name[0], u'\0');
    fake.files.ReleaseFile(kSettingsPath);
    EXPECT_EQ(fake.files.File(kSettingsPath), userFile) << "the user's profiles are still there";

    // No full write stands on the defaults ...
    EXPECT_FALSE(dlg.Settings().WriteAllSettings());
    EXPECT_EQ(fake.files.File(kSettingsPath), userFile);
    // ... until a read succeeds.
    dlg.Settings().ReloadSettings();
    EXPECT_TRUE(dlg.Settings().ReadFromFile());
    EXPECT_EQ(TextFromField(dlg.Settings().Working().Profiles[3].Name, kNameLength),
              TextFromField(samples::FullSettings().Profiles[3].Name, kNameLength));
    EXPECT_TRUE(dlg.Settings().WriteAllSettings());
    EXPECT_NE(fake.files.File(kSettingsPath)->find("PollingRate=2\r\n"), std::string::npos);
    app.ExitInstance();
}

TEST_F(SettingsStartupTest, AFileFreedWithinTheRetriesIsReadAndRewritten) {
    fake.files.HoldFile(kSettingsPath, 3);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(app.MainDialog->Settings().ReadFromFile());
    const std::string after = fake.files.File(kSettingsPath).value_or("");
    EXPECT_NE(after.find("PollingRate=2\r\n"), std::string::npos) << "start-up rewrote the corrected file";
    EXPECT_NE(after.find("[GROUP3]"), std::string::npos);
    app.ExitInstance();
}

TEST_F(SettingsStartupTest, AReloadThatCannotReadKeepsWhatTheLastReadFound) {
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    CMursohidDlg& dlg = *app.MainDialog;
    const auto before = std::make_unique<ServiceSettings>(dlg.Settings().Working());
    fake.files.HoldFile(kSettingsPath);
    dlg.Settings().ReloadSettings();
    const auto after = std::make_unique<ServiceSettings>(dlg.Settings().Working());
    EXPECT_EQ(std::memcmp(before.get(), after.get(), sizeof *before), 0);
    EXPECT_TRUE(dlg.Settings().ReadFromFile());
    fake.files.ReleaseFile(kSettingsPath);
    app.ExitInstance();
}

TEST_F(SettingsStartupTest, AMissingFileCountsAsReadAndIsCreated) {
    fake.files.RemoveFile(kSettingsPath);
    CMursohidApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(app.MainDialog->Settings().ReadFromFile());
    EXPECT_NE(fake.files.File(kSettingsPath).value_or("").find("[GROUP5]"), std::string::npos);
    app.ExitInstance();
}

}  // namespace
