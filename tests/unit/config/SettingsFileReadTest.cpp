// Reading the settings file when another program holds it: a present but
// unreadable file is retried for a bounded time and is never taken for an
// empty one, nor written over.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsValidation.h"
#include "tests/support/SettingsSamples.h"
#include "tests/unit/config/SettingsFileTestSupport.h"

namespace {

using SettingsFileReadTest = SettingsFileFixture;

bool Same(const ServiceSettings& a, const ServiceSettings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

int ReadsOf(const FakePlatform& fake, const Text& path) {
    int reads = 0;
    for (const auto& call : fake.Calls())
        if (call == "ReadFile " + TextToUtf8(path)) ++reads;
    return reads;
}

// The settings file with every slot of the full sample.
void PutFullFile() {
    PortableIniFile file(SettingsFilePath());
    WriteAllSettings(file, samples::FullSettings());
    WriteProfileSlot(file, 0, samples::FullSettings().Profiles[0]);
}

struct HoldCase {
    const char* name;
    int failedReads;  // -1: held until released
    FileReadStatus status;
    int reads;
    std::vector<std::uint64_t> sleeps;
};

TEST_F(SettingsFileReadTest, AHeldFileIsRetriedForABoundedTime) {
    const HoldCase cases[] = {
        {"free", 0, FileReadStatus::Read, 1, {}},
        {"held for two reads", 2, FileReadStatus::Read, 3, {200, 200}},
        {"held for four reads", 4, FileReadStatus::Read, 5, {200, 200, 200, 200}},
        {"held for five reads", 5, FileReadStatus::Unreadable, 5, {200, 200, 200, 200}},
        {"held until released", -1, FileReadStatus::Unreadable, 5, {200, 200, 200, 200}},
    };
    for (const HoldCase& c : cases) {
        SCOPED_TRACE(c.name);
        PutFullFile();
        const std::string bytes = SettingsFile();
        fake.ClearCalls();
        fake.files.HoldFile(SettingsFilePath(), c.failedReads);
        const std::uint64_t sleptBefore = fake.Sleeps().size();

        auto settings = std::make_unique<ServiceSettings>(samples::DefaultSettings());
        const auto before = std::make_unique<ServiceSettings>(*settings);
        EXPECT_EQ(ReadAllSettings(*settings), c.status);
        EXPECT_EQ(ReadsOf(fake, SettingsFilePath()), c.reads);
        const auto sleeps = fake.Sleeps();
        EXPECT_EQ(std::vector<std::uint64_t>(sleeps.begin() + static_cast<long>(sleptBefore), sleeps.end()), c.sleeps);
        if (c.status == FileReadStatus::Read) {
            const ServiceSettings full = samples::FullSettings();
            EXPECT_EQ(TextFromField(settings->Profiles[3].Name, kNameLength), TextFromField(full.Profiles[3].Name, kNameLength));
            EXPECT_EQ(settings->Profiles[3].LIFT, full.Profiles[3].LIFT);
            EXPECT_EQ(std::memcmp(settings->Profiles[5].Buttons[9].ButtonData, full.Profiles[5].Buttons[9].ButtonData,
                                  kButtonDataSize), 0);
        } else {
            EXPECT_TRUE(Same(*settings, *before)) << "an unreadable file leaves the record as it was";
        }
        fake.files.ReleaseFile(SettingsFilePath());
        EXPECT_EQ(SettingsFile(), bytes);
    }
}

TEST_F(SettingsFileReadTest, AMissingFileReadsAsDefaultsAtOnce) {
    auto settings = std::make_unique<ServiceSettings>(samples::FullSettings());
    EXPECT_EQ(ReadAllSettings(*settings), FileReadStatus::Missing);
    EXPECT_TRUE(fake.Sleeps().empty());
    EXPECT_EQ(settings->Profiles[3].LIFT, -1);
    EXPECT_EQ(settings->Mode, -1);
}

TEST_F(SettingsFileReadTest, ReloadActiveProfileOfAHeldFileLeavesTheRecordAndDoesNotWait) {
    PutFullFile();
    fake.files.HoldFile(SettingsFilePath());
    fake.ClearCalls();
    auto settings = std::make_unique<ServiceSettings>(samples::DefaultSettings());
    const auto before = std::make_unique<ServiceSettings>(*settings);
    EXPECT_EQ(ReloadActiveProfile(*settings), FileReadStatus::Unreadable);
    EXPECT_TRUE(Same(*settings, *before));
    EXPECT_EQ(ReadsOf(fake, SettingsFilePath()), 1);
    EXPECT_TRUE(fake.Sleeps().empty());
}

TEST_F(SettingsFileReadTest, ReloadOfAHeldFileKeepsBothRecords) {
    PutFullFile();
    fake.files.HoldFile(SettingsFilePath());
    auto working = std::make_unique<ServiceSettings>(samples::FullSettings());
    auto snapshot = std::make_unique<ServiceSettings>(samples::FullSettings());
    snapshot->Mode = 77;
    const auto workingBefore = std::make_unique<ServiceSettings>(*working);
    const auto snapshotBefore = std::make_unique<ServiceSettings>(*snapshot);
    EXPECT_EQ(ReloadSettings(*working, *snapshot), FileReadStatus::Unreadable);
    EXPECT_TRUE(Same(*working, *workingBefore));
    EXPECT_TRUE(Same(*snapshot, *snapshotBefore));
}

TEST_F(SettingsFileReadTest, DefaultSettingsAreWhatAMissingFileReloadsTo) {
    auto working = std::make_unique<ServiceSettings>(samples::FullSettings());
    auto snapshot = std::make_unique<ServiceSettings>(samples::FullSettings());
    EXPECT_EQ(ReloadSettings(*working, *snapshot), FileReadStatus::Missing);
    auto defaults = std::make_unique<ServiceSettings>(samples::FullSettings());
    auto defaultsSnapshot = std::make_unique<ServiceSettings>(*defaults);
    LoadDefaultSettings(*defaults, *defaultsSnapshot);
    EXPECT_TRUE(Same(*defaults, *working));
    EXPECT_TRUE(Same(*defaultsSnapshot, *snapshot));
    EXPECT_EQ(defaults->PollingRate, 2);
}

TEST_F(SettingsFileReadTest, WritesToAHeldFileChangeNothing) {
    PutSettingsFile("[Setting]\r\nProfile=1\r\n[GROUP1]\r\nName=Mine\r\n");
    const std::string before = SettingsFile();
    fake.files.HoldFile(SettingsFilePath());
    WritePlug(1);
    WriteActiveProfile(3);
    PortableIniFile file(SettingsFilePath());
    file.WriteString(u"GROUP1", u"Launch", u"x.exe");
    EXPECT_EQ(SettingsFile(), before) << "a write built on an unread file would replace it";
    fake.files.ReleaseFile(SettingsFilePath());
    WritePlug(1);
    EXPECT_EQ(SettingsFile(), "[Setting]\r\nProfile=1\r\nPlug=1\r\n[GROUP1]\r\nName=Mine\r\n");
}

}  // namespace
