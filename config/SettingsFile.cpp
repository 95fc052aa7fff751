#include "config/SettingsFile.h"

#include <cstring>

#include "config/DataFolder.h"
#include "config/RecordBytes.h"
#include "config/SettingsFileAccess.h"
#include "config/SettingsLayout.h"
#include "platform/Platform.h"

namespace k = settings_keys;

namespace {

void ReadSettingSection(IniFile& file, ServiceSettings& settings) {
    settings.Profile = file.GetInt(k::kSetting, k::kProfile, 0);
    settings.TrayEnabled = file.GetInt(k::kSetting, k::kTrayEnabled, -1);
    settings.MouseButtons = file.GetInt(k::kSetting, k::kMouseButtons, -1);
    settings.PollingRate = file.GetInt(k::kSetting, k::kPollingRate, -1);
    settings.Mode = file.GetInt(k::kSetting, k::kMode, -1);
}

void ReadText(IniFile& file, const Text& section, const Text& key, char16_t* field, std::size_t capacity) {
    // Cleared, then filled: a text longer than the field is cut to it.
    CopyTextToField(file.GetString(section, key, Text()), field, capacity);
}

std::uint8_t LowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Returns whether the data block was taken.
bool ReadButton(IniFile& file, int slot, int number, const Text& group, ButtonAssignment& button) {
    const Text section = ButtonAssignedName(slot, number);
    button.ButtonID = file.GetInt(section, k::kButtonID, -1);
    button.RepeatType = LowByte(file.GetInt(section, k::kRepeatType, -1));
    button.ButtonFunc = LowByte(file.GetInt(section, k::kButtonFunc, -1));
    button.KeyNumber = LowByte(file.GetInt(section, k::kKeyNumber, -1));
    ReadText(file, section, k::kMacroName, button.MacroName, kMacroNameLength);
    ReadText(file, section, k::kPath, button.Path, kPathLength);
    // A missing or damaged block leaves the previous button data in place.
    return file.GetBlock(group, section, button.ButtonData, kButtonDataSize);
}

// `blockTaken` (may be null) says, per button, whether its data block was taken.
void ReadSlot(IniFile& file, int slot, ProfileRecord& profile, bool* blockTaken = nullptr) {
    const Text group = GroupSection(slot);
    ReadText(file, group, k::kLaunch, profile.Launch, kLaunchLength);
    ReadText(file, group, k::kName, profile.Name, kNameLength);
    profile.UniversalScrollEnabled = file.GetInt(group, k::kUniversalScrollEnabled, -1);
    profile.AccelerationEnabled = file.GetInt(group, k::kAccelerationEnabled, -1);
    profile.XYSensitivityEnabled = file.GetInt(group, k::kXYSensitivityEnabled, -1);
    profile.LIFT = file.GetInt(group, k::kLIFT, -1);
    profile.LEDLogoEnable = file.GetInt(group, k::kLEDLogoEnable, -1);
    profile.DPI = file.GetInt(group, k::kDPI, -1);
    profile.DPICurrentX = file.GetInt(group, k::kDPICurrentX, -1);
    profile.DPICurrentY = file.GetInt(group, k::kDPICurrentY, -1);
    profile.DPIStageNum = file.GetInt(group, k::kDPIStageNum, -1);
    // Cleared first: a block that is not taken reads as all zero.
    StageBlock stages{};
    file.GetBlock(group, k::kDPIStageValue, stages.data(), stages.size());
    StagesFromBytes(stages, profile.DPIStageValue);
    for (int n = 0; n < kButtonCount; ++n) {
        const bool taken = ReadButton(file, slot, n + 1, group, profile.Buttons[n]);
        if (blockTaken != nullptr) blockTaken[n] = taken;
    }
}

}  // namespace

void WriteProfileSlot(IniFile& file, int slot, const ProfileRecord& profile) {
    const Text group = GroupSection(slot);
    file.WriteString(group, k::kName, TextFromField(profile.Name, kNameLength));
    file.WriteString(group, k::kLaunch, TextFromField(profile.Launch, kLaunchLength));
    file.WriteInt(group, k::kUniversalScrollEnabled, profile.UniversalScrollEnabled);
    file.WriteInt(group, k::kLEDLogoEnable, profile.LEDLogoEnable);
    file.WriteInt(group, k::kXYSensitivityEnabled, profile.XYSensitivityEnabled);
    file.WriteInt(group, k::kLIFT, profile.LIFT);
    file.WriteInt(group, k::kDPI, profile.DPI);
    file.WriteInt(group, k::kDPICurrentX, profile.DPICurrentX);
    file.WriteInt(group, k::kDPICurrentY, profile.DPICurrentY);
    file.WriteInt(group, k::kDPIStageNum, profile.DPIStageNum);
    const StageBlock stages = StagesToBytes(profile.DPIStageValue);
    file.WriteBlock(group, k::kDPIStageValue, stages.data(), stages.size());
    for (int n = 0; n < kButtonCount; ++n) {
        const ButtonAssignment& button = profile.Buttons[n];
        const Text section = ButtonAssignedName(slot, n + 1);
        file.WriteInt(section, k::kButtonID, button.ButtonID);
        file.WriteInt(section, k::kRepeatType, button.RepeatType);
        file.WriteInt(section, k::kButtonFunc, button.ButtonFunc);
        file.WriteInt(section, k::kKeyNumber, button.KeyNumber);
        file.WriteString(section, k::kMacroName, TextFromField(button.MacroName, kMacroNameLength));
        file.WriteString(section, k::kPath, TextFromField(button.Path, kPathLength));
        file.WriteBlock(group, section, button.ButtonData, kButtonDataSize);
    }
}

void ReadAllSettings(IniFile& file, ServiceSettings& settings) {
    ReadSettingSection(file, settings);
    for (int slot = 0; slot < kProfileCount; ++slot) ReadSlot(file, slot, settings.Profiles[slot]);
}

void WriteAllSettings(IniFile& file, const ServiceSettings& settings) {
    file.WriteInt(k::kSetting, k::kProfile, settings.Profile);
    file.WriteInt(k::kSetting, k::kTrayEnabled, settings.TrayEnabled);
    file.WriteInt(k::kSetting, k::kMouseButtons, settings.MouseButtons);
    file.WriteInt(k::kSetting, k::kPollingRate, settings.PollingRate);
    file.WriteInt(k::kSetting, k::kMode, settings.Mode);
    // Slot 0 is read but never written by the service.
    for (int slot = 1; slot < kProfileCount; ++slot) WriteProfileSlot(file, slot, settings.Profiles[slot]);
}

void ReadActiveProfile(IniFile& file, ActiveProfileRead& read) {
    read.Profile = file.GetInt(k::kSetting, k::kProfile, 0);
    read.TrayEnabled = file.GetInt(k::kSetting, k::kTrayEnabled, -1);
    read.MouseButtons = file.GetInt(k::kSetting, k::kMouseButtons, -1);
    read.PollingRate = file.GetInt(k::kSetting, k::kPollingRate, -1);
    read.Mode = file.GetInt(k::kSetting, k::kMode, -1);
    if (read.Profile < 0 || read.Profile >= kProfileCount) read.Profile = 0;
    ReadSlot(file, read.Profile, read.Slot, read.BlockTaken);
}

void ApplyActiveProfileRead(const ActiveProfileRead& read, ServiceSettings& settings) {
    settings.Profile = read.Profile;
    settings.TrayEnabled = read.TrayEnabled;
    settings.MouseButtons = read.MouseButtons;
    settings.PollingRate = read.PollingRate;
    settings.Mode = read.Mode;
    const int slot = read.Profile >= 0 && read.Profile < kProfileCount ? read.Profile : 0;
    ProfileRecord& profile = settings.Profiles[slot];
    std::uint8_t kept[kButtonCount][kButtonDataSize];
    for (int n = 0; n < kButtonCount; ++n)
        if (!read.BlockTaken[n]) std::memcpy(kept[n], profile.Buttons[n].ButtonData, kButtonDataSize);
    profile = read.Slot;
    for (int n = 0; n < kButtonCount; ++n)
        if (!read.BlockTaken[n]) std::memcpy(profile.Buttons[n].ButtonData, kept[n], kButtonDataSize);
}

void ReloadActiveProfile(IniFile& file, ServiceSettings& settings) {
    auto read = std::make_unique<ActiveProfileRead>();
    ReadActiveProfile(file, *read);
    ApplyActiveProfileRead(*read, settings);
}

FileReadStatus ReadAllSettings(ServiceSettings& settings) {
    auto file = OpenSettingsFileForReading(SettingsFilePath());
    FileReadStatus status = file->ReadFile();
    for (int attempt = 1; status == FileReadStatus::Unreadable && attempt < kSettingsReadAttempts; ++attempt) {
        Sys().Kernel.Sleep(kSettingsReadRetryMs);
        status = file->ReadFile();
    }
    if (status != FileReadStatus::Unreadable) ReadAllSettings(*file, settings);
    return status;
}

bool WriteAllSettings(const ServiceSettings& settings) {
    auto file = OpenSettingsFileForWriting(SettingsFilePath());
    WriteAllSettings(*file, settings);
    return file->Commit();
}

FileReadStatus ReloadActiveProfile(ServiceSettings& settings) {
    auto file = OpenSettingsFileForReading(SettingsFilePath());
    const FileReadStatus status = file->ReadFile();
    if (status != FileReadStatus::Unreadable) ReloadActiveProfile(*file, settings);
    return status;
}

namespace {

void WriteOneSetting(const Text& section, const Text& key, std::int32_t value) {
    auto file = OpenSettingsFileForWriting(SettingsFilePath());
    file->WriteInt(section, key, value);
    file->Commit();
}

}  // namespace

void WritePlug(std::int32_t plug) {
    WriteOneSetting(k::kSetting, k::kPlug, plug);
}

void WriteActiveProfile(std::int32_t profile) {
    WriteOneSetting(k::kSetting, k::kProfile, profile);
}

void WritePollingRate(std::int32_t pollingRate) {
    WriteOneSetting(k::kSetting, k::kPollingRate, pollingRate);
}
