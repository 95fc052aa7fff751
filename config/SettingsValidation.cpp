#include "config/SettingsValidation.h"

#include <cstring>
#include <memory>

#include "config/PortableIniFile.h"
#include "contract/FunctionCodes.h"
#include "config/SettingsFile.h"

namespace {

// Value a stage takes when its X is 0: stage 1 to 5.
constexpr std::int32_t kDefaultStageValues[kStageCount] = {16, 40, 70, 100, 8};

bool OutsideRange(std::int32_t value, std::uint32_t low, std::uint32_t high) {
    const auto asUnsigned = static_cast<std::uint32_t>(value);  // -1 counts as out of range
    return asUnsigned < low || asUnsigned > high;
}

bool NeitherOf(std::int32_t value, std::int32_t first, std::int32_t second) {
    return value != first && value != second;
}

// Replaces an out-of-range value; true when it did.
bool Correct(bool outOfRange, std::int32_t& field, std::int32_t replacement) {
    if (!outOfRange) return false;
    field = replacement;
    return true;
}

bool ValidateProfile(ProfileRecord& profile) {
    bool changed = false;
    changed |= Correct(NeitherOf(profile.UniversalScrollEnabled, 0, 1), profile.UniversalScrollEnabled, 1);
    changed |= Correct(NeitherOf(profile.AccelerationEnabled, 0, 1), profile.AccelerationEnabled, 0);
    changed |= Correct(NeitherOf(profile.XYSensitivityEnabled, 0, 1), profile.XYSensitivityEnabled, 0);
    changed |= Correct(NeitherOf(profile.LEDLogoEnable, 0, 4), profile.LEDLogoEnable, 4);
    changed |= Correct(OutsideRange(profile.DPI, 0, 5), profile.DPI, 0);
    changed |= Correct(OutsideRange(profile.LIFT, 1, 10), profile.LIFT, 5);
    changed |= Correct(OutsideRange(profile.DPICurrentX, 1, 100), profile.DPICurrentX, 16);
    changed |= Correct(OutsideRange(profile.DPICurrentY, 1, 100), profile.DPICurrentY, 16);
    changed |= Correct(profile.DPIStageNum != kStageCount, profile.DPIStageNum, kStageCount);
    // Completing stages and unset buttons does not count as a change.
    for (int n = 0; n < kStageCount; ++n) {
        DpiStage& stage = profile.DPIStageValue[n];
        if (stage.X != 0) continue;
        stage.Enabled = 1;
        stage.X = kDefaultStageValues[n];
        stage.Y = kDefaultStageValues[n];
    }
    for (int n = 0; n < kButtonCount; ++n) {
        ButtonAssignment& button = profile.Buttons[n];
        if (button.ButtonFunc == FunctionByte(ButtonFunctionCode::Unassigned)) button.ButtonFunc = static_cast<std::uint8_t>(n + 1);
    }
    return changed;
}

}  // namespace

void ResetSettings(ServiceSettings& settings) {
    std::memset(settings.Profiles, 0, sizeof settings.Profiles);
    settings.TrayEnabled = -1;
    settings.Profile = -1;
    settings.PollingRate = -1;
}

bool ValidateSettings(ServiceSettings& target, const ServiceSettings& source) {
    if (&target != &source) std::memcpy(&target, &source, sizeof target);
    bool changed = false;
    changed |= Correct(OutsideRange(target.Profile, 0, kProfileCount - 1), target.Profile, 0);
    // MouseButtons is corrected without counting as a change.
    Correct(OutsideRange(target.MouseButtons, 1, kButtonCount), target.MouseButtons, kButtonCount);
    changed |= Correct(NeitherOf(target.TrayEnabled, 0, 1), target.TrayEnabled, 1);
    changed |= Correct(OutsideRange(target.PollingRate, 0, 3), target.PollingRate, 2);
    // Every slot is corrected: every slot is read, and any can become active.
    for (auto& profile : target.Profiles) changed |= ValidateProfile(profile);
    return changed;
}

FileReadStatus ReloadSettings(ServiceSettings& working, ServiceSettings& snapshot) {
    // Read into a copy: a file that cannot be read must not reset the records.
    auto read = std::make_unique<ServiceSettings>(working);
    ResetSettings(*read);
    const FileReadStatus status = ReadAllSettings(*read);
    if (status == FileReadStatus::Unreadable) return status;
    ValidateSettings(snapshot, *read);
    std::memcpy(&working, &snapshot, sizeof working);
    return status;
}

void LoadDefaultSettings(ServiceSettings& working, ServiceSettings& snapshot) {
    ResetSettings(working);
    PortableIniFile nothing(Text(), IniDocument{});
    ReadAllSettings(nothing, working);
    ValidateSettings(snapshot, working);
    std::memcpy(&working, &snapshot, sizeof working);
}
