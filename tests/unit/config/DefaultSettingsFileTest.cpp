// The installed default config.ini: generated here with our own writer, and
// checked to be what start-up writes back, so a first start changes nothing
// but Plug. Set MOUSEHID_WRITE_DEFAULTS=1 to regenerate defaults/config.ini.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsLayout.h"
#include "config/SettingsValidation.h"
#include "tests/support/SettingsSamples.h"
#include "tests/unit/config/SettingsFileTestSupport.h"

namespace {

const std::string kDefaultsPath = std::string(MOUSEHID_SOURCE_DIR) + "/defaults/config.ini";

std::string ReadDisk(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

using DefaultSettingsFile = SettingsFileFixture;

// Setting first (with Plug), then every slot in the order of the full write,
// AccelerationEnabled closing each GROUP section's numbers.
std::string GenerateDefaults(FakePlatform& fake) {
    const ServiceSettings defaults = samples::DefaultSettings();
    const Text path = SettingsFilePath();
    fake.files.RemoveFile(path);
    PortableIniFile file(path);
    namespace k = settings_keys;
    file.WriteInt(k::kSetting, k::kProfile, defaults.Profile);
    file.WriteInt(k::kSetting, k::kTrayEnabled, defaults.TrayEnabled);
    file.WriteInt(k::kSetting, k::kMouseButtons, defaults.MouseButtons);
    file.WriteInt(k::kSetting, k::kPollingRate, defaults.PollingRate);
    file.WriteInt(k::kSetting, k::kMode, defaults.Mode);
    file.WriteInt(k::kSetting, k::kPlug, 0);
    for (int slot = 0; slot < kProfileCount; ++slot) {
        file.WriteInt(GroupSection(slot), k::kAccelerationEnabled, defaults.Profiles[slot].AccelerationEnabled);
        WriteProfileSlot(file, slot, defaults.Profiles[slot]);
    }
    return fake.files.File(path).value_or("");
}

TEST_F(DefaultSettingsFile, CheckedInFileIsTheGeneratedOne) {
    const std::string generated = GenerateDefaults(fake);
    if (const char* write = std::getenv("MOUSEHID_WRITE_DEFAULTS"); write && std::string(write) == "1")
        std::ofstream(kDefaultsPath, std::ios::binary) << generated;
    EXPECT_EQ(ReadDisk(kDefaultsPath), generated);
}

TEST_F(DefaultSettingsFile, FirstStartChangesNothingButPlug) {
    const std::string installed = ReadDisk(kDefaultsPath);
    ASSERT_FALSE(installed.empty());
    for (int plug : {0, 1}) {
        PutSettingsFile(installed);
        ServiceSettings working{};
        ServiceSettings snapshot{};
        ReloadSettings(working, snapshot);
        ServiceSettings corrected{};
        EXPECT_FALSE(ValidateSettings(corrected, working)) << "the defaults need no correction";
        WritePlug(plug);
        WriteAllSettings(working);
        std::string expected = installed;
        if (plug == 1) expected.replace(expected.find("Plug=0"), 6, "Plug=1");
        EXPECT_EQ(SettingsFile(), expected) << "plug " << plug;
    }
}

TEST_F(DefaultSettingsFile, ReadsAsTheDefaultRecord) {
    PutSettingsFile(ReadDisk(kDefaultsPath));
    ServiceSettings read{};
    ReadAllSettings(read);
    const ServiceSettings expected = samples::DefaultSettings();
    EXPECT_EQ(read.Profile, 0);
    EXPECT_EQ(read.PollingRate, 2);
    for (int k = 0; k < kProfileCount; ++k) {
        const ProfileRecord& p = read.Profiles[k];
        EXPECT_EQ(p.LIFT, 5);
        EXPECT_EQ(p.LEDLogoEnable, 4);
        EXPECT_EQ(p.AccelerationEnabled, 0);
        EXPECT_EQ(std::memcmp(p.DPIStageValue, expected.Profiles[k].DPIStageValue, sizeof p.DPIStageValue), 0);
        for (int b = 0; b < kButtonCount; ++b) EXPECT_EQ(p.Buttons[b].ButtonFunc, b + 1);
    }
}

}  // namespace
