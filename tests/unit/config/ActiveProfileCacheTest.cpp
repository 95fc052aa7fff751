// ReloadActiveProfile through the settings store parses the settings file
// only when its bytes have changed, and yet gives exactly what a fresh read
// gives: every edit takes effect at the very next button event, also two
// edits of the same length made without the clock moving, and the
// in-memory changes of the clutch are always replaced by the file's values.
#include <cstring>
#include <memory>

#include "config/ActiveProfileCache.h"
#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsLayout.h"
#include "config/SettingsStore.h"
#include "tests/support/ExpectSequence.h"
#include "tests/support/SettingsSamples.h"
#include "tests/unit/config/SettingsFileTestSupport.h"

namespace {

namespace k = settings_keys;

class ActiveProfileCacheTest : public SettingsFileFixture {
protected:
    void SetUp() override {
        SettingsFileFixture::SetUp();
        PortableIniFile file(SettingsFilePath());
        const ServiceSettings full = samples::FullSettings();
        WriteAllSettings(file, full);
        WriteProfileSlot(file, 0, full.Profiles[0]);
        store.ReloadSettings();
    }

    // An edit as the configuration program makes it: one key, straight into the file.
    void Edit(const Text& section, const Text& key, const Text& value) {
        PortableIniFile(SettingsFilePath()).WriteString(section, key, value);
    }
    int ActiveSlot() { return store.ActiveProfileIndex(); }
    ButtonAssignment Button(int index) { return store.WorkingAssignment(ActiveSlot(), index); }

    // What a fresh, uncached read of the file makes of `before`.
    std::unique_ptr<ServiceSettings> FreshRead(const ServiceSettings& before) {
        auto expected = std::make_unique<ServiceSettings>(before);
        ReloadActiveProfile(*expected);
        return expected;
    }

    SettingsStore store;
};

TEST_F(ActiveProfileCacheTest, TwoEditsOfTheSameLengthWithinOneClockTickBothTakeEffectAtTheNextPress) {
    const int slot = ActiveSlot();
    const Text section = ButtonAssignedName(slot, 3);
    const std::uint64_t clock = fake.Now();

    Edit(section, k::kButtonFunc, u"7");
    const std::size_t size = SettingsFile().size();
    store.ReloadActiveProfile();
    EXPECT_EQ(Button(2).ButtonFunc, 7);

    Edit(section, k::kButtonFunc, u"8");
    ASSERT_EQ(SettingsFile().size(), size) << "both edits have the same length";
    store.ReloadActiveProfile();
    EXPECT_EQ(Button(2).ButtonFunc, 8);

    Edit(section, k::kButtonFunc, u"9");
    Edit(GroupSection(slot), k::kLIFT, u"4");
    store.ReloadActiveProfile();
    EXPECT_EQ(Button(2).ButtonFunc, 9);
    EXPECT_EQ(store.ActiveProfile().LIFT, 4);
    EXPECT_EQ(fake.Now(), clock) << "the virtual clock never moved";
}

TEST_F(ActiveProfileCacheTest, AnUnchangedFileIsReadEachTimeButParsedOnlyAfterAChange) {
    ActiveProfileCache cache;
    fake.ClearCalls();
    const auto first = cache.Read(SettingsFilePath());
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(cache.Read(SettingsFilePath()), first);
    EXPECT_EQ(cache.Parses(), 1);
    EXPECT_EQ(Events(fake, {"ReadFile "}).size(), 5u) << "every read goes to the file";

    Edit(u"Setting", k::kMode, u"0");
    const auto edited = cache.Read(SettingsFilePath());
    EXPECT_EQ(cache.Parses(), 2);
    EXPECT_EQ(edited->Mode, 0);
    EXPECT_EQ(cache.Read(SettingsFilePath()), edited);
    EXPECT_EQ(cache.Parses(), 2);
}

TEST_F(ActiveProfileCacheTest, ChangingTheActiveProfileInTheFileSwitchesTheSlotRead) {
    Edit(u"Setting", k::kProfile, u"4");
    Edit(ButtonAssignedName(4, 1), k::kButtonFunc, u"11");
    store.ReloadActiveProfile();
    EXPECT_EQ(ActiveSlot(), 4);
    EXPECT_EQ(Button(0).ButtonFunc, 11);
    Edit(u"Setting", k::kProfile, u"9");  // out of range: slot 0
    store.ReloadActiveProfile();
    EXPECT_EQ(ActiveSlot(), 0);
}

TEST_F(ActiveProfileCacheTest, TheClutchCopyInMemoryIsReplacedByTheFileEvenWhenTheFileIsUnchanged) {
    store.ReloadActiveProfile();
    const ProfileRecord fromFile = store.ActiveProfile();
    store.CopyTopStageResolution(ActiveSlot(), 1);
    ASSERT_NE(store.ActiveProfile().DPIStageValue[1].X, fromFile.DPIStageValue[1].X);
    store.ReloadActiveProfile();
    EXPECT_EQ(store.ActiveProfile().DPIStageValue[1].X, fromFile.DPIStageValue[1].X);
    EXPECT_EQ(store.ActiveProfile().DPIStageValue[1].Y, fromFile.DPIStageValue[1].Y);
}

// Files that differ in what ReloadActiveProfile reads, each applied onto the
// same record: the cached store gives what a fresh read gives, repeated reads
// of an unchanged file included (damaged and missing blocks keep the data the
// record held before).
TEST_F(ActiveProfileCacheTest, EveryReadMatchesAFreshReadOfTheSameFile) {
    struct Case {
        const char* name;
        const char* bytes;  // null: the full file as set up
    };
    const Case cases[] = {
        {"full file", nullptr},
        {"only the Setting section", "[Setting]\r\nProfile=3\r\nMode=1\r\n"},
        {"damaged block", "[Setting]\r\nProfile=1\r\n[GROUP1]\r\nButtonAssigned1_2=00FF\r\n"},
        {"empty file", ""},
        {"profile out of range", "[Setting]\r\nProfile=-3\r\n[GROUP0]\r\nLIFT=3\r\n"},
        {"missing file", "<missing>"},
    };
    const std::string full = SettingsFile();
    for (const Case& c : cases) {
        if (c.bytes == nullptr) PutSettingsFile(full);
        else if (std::string(c.bytes) == "<missing>") fake.files.RemoveFile(SettingsFilePath());
        else PutSettingsFile(c.bytes);
        for (int repeat = 0; repeat < 2; ++repeat) {
            const ServiceSettings before = store.Working();
            const auto expected = FreshRead(before);
            store.ReloadActiveProfile();
            const ServiceSettings got = store.Working();
            EXPECT_EQ(std::memcmp(&got, expected.get(), sizeof got), 0) << c.name << ", read " << repeat + 1;
        }
    }
}

TEST_F(ActiveProfileCacheTest, AFileThatCannotBeReadLeavesTheRecordsAndIsReadAgainOnceFree) {
    store.ReloadActiveProfile();
    Edit(ButtonAssignedName(ActiveSlot(), 1), k::kButtonFunc, u"24");
    fake.files.HoldFile(SettingsFilePath());
    const ServiceSettings before = store.Working();
    store.ReloadActiveProfile();
    const ServiceSettings held = store.Working();
    EXPECT_EQ(std::memcmp(&held, &before, sizeof held), 0);
    fake.files.ReleaseFile(SettingsFilePath());
    store.ReloadActiveProfile();
    EXPECT_EQ(Button(0).ButtonFunc, 24);
}

}  // namespace
