#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include "config/DataFolder.h"
#include "platform/fake/FakePlatform.h"

namespace {

constexpr char16_t kExe[] = u"C:\\Program Files\\Mouse\\mousehid.exe";
constexpr char16_t kProgram[] = u"C:\\Program Files\\Mouse\\";
constexpr char16_t kAppData[] = u"C:\\users\\me\\AppData\\Roaming";
constexpr char16_t kData[] = u"C:\\users\\me\\AppData\\Roaming\\Tolvy Wimb\\";

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        fake.kernel.SetModuleFileName(kExe);
        fake.files.SetAppDataFolder(Text(kAppData));
    }
    void TearDown() override { SetPlatform(nullptr); }

    void InstallDefaults() {
        fake.files.AddFile(Text(kProgram) + u"config.ini", "[Setting]\r\nProfile=0\r\n");
        fake.files.AddFile(Text(kProgram) + u"Profile 1.ini", "[Profile]\r\nName=One\r\n");
        fake.files.AddFile(Text(kProgram) + u"Macro 1.ini", "[Macro]\r\nName=M\r\n");
    }

    FakePlatform fake;
};

TEST_F(DataFolderTest, UsesRoamingAppDataWithClosingBackslash) {
    ResolveFolders();
    EXPECT_EQ(DataFolder(), kData);
    EXPECT_EQ(SettingsFilePath(), Text(kData) + u"config.ini");
    EXPECT_NE(fake.CallIndex("SHGetFolderPathW 0x801a"), -1);
    // The product folder itself is not created by resolving.
    EXPECT_FALSE(fake.files.FolderExists(kData));
}

TEST_F(DataFolderTest, FallsBackToProgramFolderWithoutAppData) {
    fake.files.SetAppDataFolder(std::nullopt);
    ResolveFolders();
    EXPECT_EQ(DataFolder(), kProgram);
}

TEST_F(DataFolderTest, FolderOfPathKeepsDriveAndDirectory) {
    EXPECT_EQ(FolderOfPath(u"C:\\a\\b\\x.exe"), u"C:\\a\\b\\");
    EXPECT_EQ(FolderOfPath(u"C:x.exe"), u"C:");
    EXPECT_EQ(FolderOfPath(u"x.exe"), u"");
}

TEST_F(DataFolderTest, FirstRunCopiesDefaultsByteForByte) {
    InstallDefaults();
    ResolveFolders();
    ProvisionFirstRun();
    EXPECT_EQ(fake.files.File(Text(kData) + u"config.ini"), fake.files.File(Text(kProgram) + u"config.ini"));
    EXPECT_EQ(fake.files.File(Text(kData) + u"Profiles\\Profiles\\Profile 1.ini"),
              fake.files.File(Text(kProgram) + u"Profile 1.ini"));
    EXPECT_EQ(fake.files.File(Text(kData) + u"Macros\\Macros\\Macro 1.ini"),
              fake.files.File(Text(kProgram) + u"Macro 1.ini"));
    // Folders first, then the copies in order, each refusing to replace a file.
    const int profiles = fake.CallIndex("SHCreateDirectoryExW C:\\users\\me\\AppData\\Roaming\\Tolvy Wimb\\Profiles\\Profiles\\");
    const int macros = fake.CallIndex("SHCreateDirectoryExW C:\\users\\me\\AppData\\Roaming\\Tolvy Wimb\\Macros\\Macros\\");
    const int config = fake.CallIndex("CopyFileW C:\\Program Files\\Mouse\\config.ini");
    const int profile = fake.CallIndex("CopyFileW C:\\Program Files\\Mouse\\Profile 1.ini");
    const int macro = fake.CallIndex("CopyFileW C:\\Program Files\\Mouse\\Macro 1.ini");
    ASSERT_GE(profiles, 0);
    EXPECT_LT(profiles, macros);
    EXPECT_LT(macros, config);
    EXPECT_LT(config, profile);
    EXPECT_LT(profile, macro);
    for (const auto& call : fake.Calls()) {
        if (call.rfind("CopyFileW", 0) == 0) {
            EXPECT_NE(call.find("failIfExists"), std::string::npos) << call;
        }
    }
}

TEST_F(DataFolderTest, ExistingSettingsFileStopsProvisioning) {
    InstallDefaults();
    fake.files.AddFile(Text(kData) + u"config.ini", "user settings");
    ResolveFolders();
    ProvisionFirstRun();
    EXPECT_EQ(fake.files.File(Text(kData) + u"config.ini"), std::optional<std::string>("user settings"));
    EXPECT_FALSE(fake.files.FolderExists(Text(kData) + u"Profiles\\Profiles"));
    EXPECT_FALSE(fake.files.FolderExists(Text(kData) + u"Macros\\Macros"));
    EXPECT_EQ(fake.CallIndex("CopyFileW"), -1);
}

TEST_F(DataFolderTest, ExistingProfileFileIsNeverReplaced) {
    InstallDefaults();
    fake.files.AddFile(Text(kData) + u"Profiles\\Profiles\\Profile 1.ini", "edited by the user");
    ResolveFolders();
    ProvisionFirstRun();
    EXPECT_TRUE(fake.files.File(Text(kData) + u"config.ini").has_value());
    EXPECT_EQ(fake.files.File(Text(kData) + u"Profiles\\Profiles\\Profile 1.ini"),
              std::optional<std::string>("edited by the user"));
}

TEST_F(DataFolderTest, MissingDefaultDoesNotStopTheOthers) {
    InstallDefaults();
    fake.files.RemoveFile(Text(kProgram) + u"config.ini");
    ResolveFolders();
    ProvisionFirstRun();
    EXPECT_FALSE(fake.files.File(Text(kData) + u"config.ini").has_value());
    EXPECT_TRUE(fake.files.File(Text(kData) + u"Profiles\\Profiles\\Profile 1.ini").has_value());
    EXPECT_TRUE(fake.files.File(Text(kData) + u"Macros\\Macros\\Macro 1.ini").has_value());
}

TEST_F(DataFolderTest, WithoutAppDataTheInstalledSettingsAreUsedInPlace) {
    InstallDefaults();
    fake.files.SetAppDataFolder(std::nullopt);
    ResolveFolders();
    ProvisionFirstRun();
    EXPECT_EQ(fake.CallIndex("CopyFileW"), -1);
    EXPECT_EQ(fake.CallIndex("SHCreateDirectoryExW"), -1);
}

}  // namespace
