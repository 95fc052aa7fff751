#include <cstring>

#include "config/IniDocument.h"
#include "config/IniValues.h"
#include "config/PortableIniFile.h"
#include "config/RecordBytes.h"
#include "config/SettingsFile.h"
#include "config/SettingsValidation.h"
#include "tests/support/SettingsSamples.h"
#include "tests/unit/config/SettingsFileTestSupport.h"

namespace {

ServiceSettings Zeroed() {
    ServiceSettings s;
    std::memset(&s, 0, sizeof s);
    return s;
}

std::string Block(const std::uint8_t* bytes, std::size_t size) {
    return TextToUtf8(EncodeIniBlock(bytes, size));
}

using SettingsFileTest = SettingsFileFixture;

TEST_F(SettingsFileTest, ReloadActiveProfileMakesEightySevenReadsOfSettingAndTheActiveSlot) {
    PortableIniFile portable(SettingsFilePath());
    CountingIniFile counting(portable);
    PutSettingsFile("[Setting]\r\nProfile=4\r\n");
    ServiceSettings s = Zeroed();
    ReloadActiveProfile(counting, s);
    EXPECT_EQ(counting.reads, 87);
    EXPECT_EQ(counting.writes, 0);
    EXPECT_EQ(counting.log.front(), "Setting/Profile");
    EXPECT_EQ(counting.log[5], "GROUP4/Launch");
    EXPECT_EQ(counting.log.back(), "GROUP4/ButtonAssigned4_10");
}

TEST_F(SettingsFileTest, ProfileOutsideTheSlotsIsReadAndStoredAsZero) {
    for (const char* value : {"9", "-1", "6", "0x7FFFFFFF"}) {
        PutSettingsFile(std::string("[Setting]\r\nProfile=") + value + "\r\n[GROUP0]\r\nLIFT=7\r\n");
        ServiceSettings s = Zeroed();
        ReloadActiveProfile(s);
        EXPECT_EQ(s.Profile, 0) << value;
        EXPECT_EQ(s.Profiles[0].LIFT, 7) << value;
    }
}

TEST_F(SettingsFileTest, OnlySettingSectionGivesDefaultsAndKeepsButtonData) {
    PutSettingsFile("[Setting]\r\nProfile=3\r\n");
    ServiceSettings s = samples::FullSettings();
    const ServiceSettings before = s;
    ReloadActiveProfile(s);
    const ProfileRecord& p = s.Profiles[3];
    EXPECT_EQ(s.Profile, 3);
    EXPECT_EQ(s.Mode, -1);
    EXPECT_EQ(p.LIFT, -1);
    EXPECT_EQ(p.DPIStageNum, -1);
    EXPECT_EQ(p.Name[0], 0);
    for (const auto& stage : p.DPIStageValue) EXPECT_EQ(stage.X, 0);
    for (int b = 0; b < kButtonCount; ++b) {
        EXPECT_EQ(p.Buttons[b].ButtonID, -1);
        EXPECT_EQ(p.Buttons[b].ButtonFunc, 255);
        EXPECT_EQ(p.Buttons[b].KeyNumber, 255);
        EXPECT_EQ(p.Buttons[b].RepeatType, 255);
        EXPECT_EQ(std::memcmp(p.Buttons[b].ButtonData, before.Profiles[3].Buttons[b].ButtonData, kButtonDataSize), 0);
    }
    // Nothing else was touched.
    EXPECT_EQ(std::memcmp(&s.Profiles[2], &before.Profiles[2], sizeof(ProfileRecord)), 0);
}

TEST_F(SettingsFileTest, DamagedBlocksKeepThePreviousButtonData) {
    std::uint8_t fresh[kButtonDataSize];
    std::memset(fresh, 0x42, sizeof fresh);
    std::string good = Block(fresh, sizeof fresh);
    std::string badSum = good;
    badSum.back() = badSum.back() == '0' ? '1' : '0';
    const std::string shortBlock = good.substr(0, 100);
    PutSettingsFile("[Setting]\r\nProfile=1\r\n[GROUP1]\r\nButtonAssigned1_1=" + good +
                    "\r\nButtonAssigned1_2=" + badSum + "\r\nButtonAssigned1_3=" + shortBlock +
                    "\r\nButtonAssigned1_4=" + good.substr(0, 10) + "ZZ" + good.substr(12) +
                    "\r\nButtonAssigned1_5=" + good + "0" + "\r\nButtonAssigned1_6=" + good + " x" + "\r\n");
    ServiceSettings s = samples::FullSettings();
    const ServiceSettings before = s;
    ReloadActiveProfile(s);
    EXPECT_EQ(std::memcmp(s.Profiles[1].Buttons[0].ButtonData, fresh, kButtonDataSize), 0);
    for (int b = 1; b < 6; ++b)
        EXPECT_EQ(std::memcmp(s.Profiles[1].Buttons[b].ButtonData, before.Profiles[1].Buttons[b].ButtonData,
                              kButtonDataSize), 0) << "button " << b + 1;
}

TEST_F(SettingsFileTest, FullWriteIsFourHundredTenWritesInOrderAndSkipsSlotZero) {
    PortableIniFile portable(SettingsFilePath());
    CountingIniFile counting(portable);
    WriteAllSettings(counting, samples::FullSettings());
    EXPECT_EQ(counting.writes, 410);
    EXPECT_EQ(counting.reads, 0);
    EXPECT_EQ(counting.log[0], "Setting/Profile");
    EXPECT_EQ(counting.log[4], "Setting/Mode");
    EXPECT_EQ(counting.log[5], "GROUP1/Name");
    EXPECT_EQ(counting.log[8], "GROUP1/LEDLogoEnable");
    EXPECT_EQ(counting.log[15], "GROUP1/DPIStageValue");
    EXPECT_EQ(counting.log[16], "ButtonAssigned1_1/ButtonID");
    EXPECT_EQ(counting.log[22], "GROUP1/ButtonAssigned1_1");
    for (const auto& entry : counting.log) {
        EXPECT_EQ(entry.find("GROUP0"), std::string::npos);
        EXPECT_EQ(entry.find("AccelerationEnabled"), std::string::npos);
    }
    // On a new file the sections appear in the order of their first write.
    std::vector<Text> names;
    for (const auto& section : ParseIniDocument(SettingsFile(), fake.kernel.SystemAnsiCodePage()).sections)
        if (!section.name.empty()) names.push_back(section.name);
    ASSERT_EQ(names.size(), 1u + 5u * 11u);
    EXPECT_EQ(names[0], u"Setting");
    EXPECT_EQ(names[1], u"GROUP1");
    EXPECT_EQ(names[2], u"ButtonAssigned1_1");
    EXPECT_EQ(names[11], u"ButtonAssigned1_10");
    EXPECT_EQ(names[12], u"GROUP2");
    EXPECT_EQ(names.back(), u"ButtonAssigned5_10");
}

TEST_F(SettingsFileTest, FullRoundTripReadsBackWhatWasWritten) {
    const ServiceSettings written = samples::FullSettings();
    WriteAllSettings(written);
    PortableIniFile file(SettingsFilePath());
    WriteProfileSlot(file, 0, written.Profiles[0]);
    for (int k = 0; k < kProfileCount; ++k)
        file.WriteInt(u"GROUP" + TextFromInt(k), u"AccelerationEnabled", written.Profiles[k].AccelerationEnabled);
    ServiceSettings read = Zeroed();
    ReadAllSettings(read);
    EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0);
}

TEST_F(SettingsFileTest, MissingModeIsWrittenBackAsMinusOne) {
    PutSettingsFile("[Setting]\r\nProfile=0\r\nTrayEnabled=1\r\nMouseButtons=10\r\nPollingRate=2\r\n");
    ServiceSettings working = Zeroed();
    ServiceSettings snapshot = Zeroed();
    working.Mode = 12345;
    ReloadSettings(working, snapshot);
    EXPECT_EQ(working.Mode, -1);
    WriteAllSettings(working);
    EXPECT_EQ(ReadIniString(ParseIniDocument(SettingsFile(), fake.kernel.SystemAnsiCodePage()), u"Setting", u"Mode", u"", 100), u"-1");
}

TEST_F(SettingsFileTest, OneByteFieldsKeepTheLowEightBits) {
    PutSettingsFile("[ButtonAssigned0_1]\r\nButtonFunc=300\r\nKeyNumber=-2\r\nRepeatType=256\r\n");
    ServiceSettings s = Zeroed();
    ReadAllSettings(s);
    EXPECT_EQ(s.Profiles[0].Buttons[0].ButtonFunc, 44);
    EXPECT_EQ(s.Profiles[0].Buttons[0].KeyNumber, 254);
    EXPECT_EQ(s.Profiles[0].Buttons[0].RepeatType, 0);
}

TEST_F(SettingsFileTest, ShortStageBlockIsNotTakenAndStagesAreCompleted) {
    DpiStage stages[kStageCount] = {{1, 33, 33}, {1, 44, 44}, {1, 55, 55}, {1, 66, 66}, {1, 77, 77}};
    const auto bytes = StagesToBytes(stages);
    const std::string full = Block(bytes.data(), bytes.size());
    ASSERT_EQ(full.size(), 122u);
    PutSettingsFile("[GROUP2]\r\nDPIStageValue=" + full.substr(0, 120) + "\r\n[GROUP3]\r\nDPIStageValue=" + full +
                    "\r\n");
    ServiceSettings working = Zeroed();
    ServiceSettings snapshot = Zeroed();
    ReloadSettings(working, snapshot);
    EXPECT_EQ(working.Profiles[2].DPIStageValue[0].X, 16);
    EXPECT_EQ(working.Profiles[2].DPIStageValue[4].Y, 8);
    EXPECT_EQ(working.Profiles[3].DPIStageValue[2].X, 55);
}

TEST_F(SettingsFileTest, EmptyFileReloadsToCorrectedDefaults) {
    for (bool exists : {true, false}) {
        if (exists) PutSettingsFile(""); else fake.files.RemoveFile(SettingsFilePath());
        ServiceSettings working = Zeroed();
        ServiceSettings snapshot = Zeroed();
        ReloadSettings(working, snapshot);
        EXPECT_EQ(working.Profile, 0);
        EXPECT_EQ(working.MouseButtons, 10);
        EXPECT_EQ(working.PollingRate, 2);
        EXPECT_EQ(working.TrayEnabled, 1);
        EXPECT_EQ(working.Mode, -1);
        EXPECT_EQ(working.Profiles[4].Buttons[6].ButtonFunc, 7);
        EXPECT_EQ(working.Profiles[4].Buttons[6].ButtonID, -1);
        EXPECT_EQ(std::memcmp(&working, &snapshot, sizeof working), 0);
    }
}

TEST_F(SettingsFileTest, FullWriteLeavesSlotZeroAsItWas) {
    const std::string slotZero =
        "[GROUP0]\r\nName=keep me\r\nLIFT=99\r\nweird line\r\nButtonAssigned0_1=nonsense\r\n"
        "[ButtonAssigned0_1]\r\nButtonFunc=300\r\n[ButtonAssigned0_10]\r\nPath=\"quoted\"\r\n";
    PutSettingsFile("[Setting]\r\nProfile=0\r\n" + slotZero);
    ServiceSettings working = Zeroed();
    ServiceSettings snapshot = Zeroed();
    ReloadSettings(working, snapshot);
    WriteAllSettings(working);
    const std::string after = SettingsFile();
    EXPECT_NE(after.find(slotZero), std::string::npos);
}

TEST_F(SettingsFileTest, TextsLongerThanTheirFieldAreCut) {
    const std::string longName(3000, 'n');
    PutSettingsFile("[GROUP0]\r\nName=" + longName + "\r\n[ButtonAssigned0_2]\r\nMacroName=" + longName + "\r\n");
    ServiceSettings s = Zeroed();
    ReadAllSettings(s);
    EXPECT_EQ(TextFromField(s.Profiles[0].Name, kNameLength).size(), kNameLength - 1);
    EXPECT_EQ(s.Profiles[0].Name[kNameLength - 1], 0);
    EXPECT_EQ(TextFromField(s.Profiles[0].Buttons[1].MacroName, kMacroNameLength).size(), kMacroNameLength - 1);
}

struct SingleKeyCase {
    void (*write)(std::int32_t);
    std::int32_t value;
    const char* line;
};

TEST_F(SettingsFileTest, SingleKeyWritesChangeOnlyTheirKey) {
    const SingleKeyCase cases[] = {
        {WritePlug, 1, "Plug=1"},
        {WriteActiveProfile, 4, "Profile=4"},
        {WritePollingRate, 0, "PollingRate=0"},
    };
    for (const auto& c : cases) {
        PutSettingsFile("[Setting]\r\nProfile=0\r\nPollingRate=2\r\nPlug=0\r\n[GROUP0]\r\nLIFT=5\r\n");
        c.write(c.value);
        const std::string after = SettingsFile();
        EXPECT_NE(after.find(std::string("\r\n") + c.line + "\r\n"), std::string::npos) << c.line;
        EXPECT_NE(after.find("[GROUP0]\r\nLIFT=5\r\n"), std::string::npos) << c.line;
    }
    fake.files.RemoveFile(SettingsFilePath());
    WritePlug(0);
    EXPECT_EQ(SettingsFile(), "[Setting]\r\nPlug=0\r\n");
}

}  // namespace
