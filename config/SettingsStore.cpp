#include "config/SettingsStore.h"

#include <cstring>
#include <string>

#include "config/DataFolder.h"
#include "config/SettingsFile.h"
#include "config/SettingsValidation.h"
#include "platform/Platform.h"

namespace {

// The debug line of every full reload, with the active profile it left.
void NoteReload(int profile) {
    Sys().Kernel.OutputDebugStringW(u"RELOADSETTINGS:profile=" + TextFromUtf8(std::to_string(profile)));
}

}  // namespace

struct SettingsStore::Records {
    ServiceSettings WorkingSettings;
    ServiceSettings SettingsSnapshot;
    ServiceSettings DeviceSettingsImage;
};

SettingsStore::SettingsStore() : records_(std::make_unique<Records>()) {
    std::memset(records_.get(), 0, sizeof(Records));
}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::ReloadSettings() {
    // The file is read into copies; the lock is held only to exchange them.
    auto working = std::make_unique<ServiceSettings>();
    auto snapshot = std::make_unique<ServiceSettings>();
    {
        std::lock_guard<std::mutex> guard(lock_);
        *working = records_->WorkingSettings;
        *snapshot = records_->SettingsSnapshot;
    }
    const bool read = ::ReloadSettings(*working, *snapshot) != FileReadStatus::Unreadable;
    if (read) {
        readFromFile_.store(true);
    } else if (!readFromFile_.load()) {
        // Nothing was ever read: run on the defaults, which are never written back.
        LoadDefaultSettings(*working, *snapshot);
    } else {
        // The records keep what the last read found.
        *working = Working();
        NoteReload(working->Profile);
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        records_->WorkingSettings = *working;
        records_->SettingsSnapshot = *snapshot;
    }
    NoteReload(working->Profile);
    return read;
}

void SettingsStore::ReloadActiveProfile() {
    const auto read = activeProfile_.Read(SettingsFilePath());
    if (read == nullptr) return;
    std::lock_guard<std::mutex> guard(lock_);
    ApplyActiveProfileRead(*read, records_->WorkingSettings);
}

bool SettingsStore::WriteAllSettings() {
    if (!readFromFile_.load()) return false;
    const auto working = std::make_unique<ServiceSettings>(Working());
    return ::WriteAllSettings(*working);
}

ServiceSettings SettingsStore::Working() const {
    std::lock_guard<std::mutex> guard(lock_);
    return records_->WorkingSettings;
}

ServiceSettings SettingsStore::Snapshot() const {
    std::lock_guard<std::mutex> guard(lock_);
    return records_->SettingsSnapshot;
}

ServiceSettings SettingsStore::DeviceImage() const {
    std::lock_guard<std::mutex> guard(lock_);
    return records_->DeviceSettingsImage;
}

void SettingsStore::SetDeviceImage(const ServiceSettings& image) {
    std::lock_guard<std::mutex> guard(lock_);
    records_->DeviceSettingsImage = image;
}

namespace {
int ProfileSlot(int profile) { return profile >= 0 && profile < kProfileCount ? profile : 0; }
int ButtonSlot(int button) { return button >= 0 && button < kButtonCount ? button : 0; }
}  // namespace

int SettingsStore::ActiveProfileIndex() const {
    std::lock_guard<std::mutex> guard(lock_);
    return records_->WorkingSettings.Profile;
}

ButtonAssignment SettingsStore::WorkingAssignment(int profile, int button) const {
    std::lock_guard<std::mutex> guard(lock_);
    return records_->WorkingSettings.Profiles[ProfileSlot(profile)].Buttons[ButtonSlot(button)];
}

ButtonAssignment SettingsStore::SnapshotAssignment(int profile, int button) const {
    std::lock_guard<std::mutex> guard(lock_);
    return records_->SettingsSnapshot.Profiles[ProfileSlot(profile)].Buttons[ButtonSlot(button)];
}

ButtonAssignment SettingsStore::ActiveAssignment(int button) const {
    std::lock_guard<std::mutex> guard(lock_);
    const ServiceSettings& working = records_->WorkingSettings;
    return working.Profiles[ProfileSlot(working.Profile)].Buttons[ButtonSlot(button)];
}

void SettingsStore::CopyTopStageResolution(int profile, int stage) {
    if (stage < 0 || stage >= kStageCount) return;
    std::lock_guard<std::mutex> guard(lock_);
    DpiStage* stages = records_->WorkingSettings.Profiles[ProfileSlot(profile)].DPIStageValue;
    stages[stage].X = stages[kStageCount - 1].X;
    stages[stage].Y = stages[kStageCount - 1].Y;
}

ProfileRecord SettingsStore::ActiveProfile() const {
    std::lock_guard<std::mutex> guard(lock_);
    const int profile = records_->WorkingSettings.Profile;
    return records_->WorkingSettings.Profiles[profile >= 0 && profile < kProfileCount ? profile : 0];
}

void SettingsStore::SetActiveProfileIndex(int profile) {
    std::lock_guard<std::mutex> guard(lock_);
    records_->WorkingSettings.Profile = profile;
}

void SettingsStore::UpdateWorking(const std::function<void(ServiceSettings&)>& change) {
    std::lock_guard<std::mutex> guard(lock_);
    change(records_->WorkingSettings);
}

void SettingsStore::CopyWorkingToSnapshot() {
    std::lock_guard<std::mutex> guard(lock_);
    records_->SettingsSnapshot = records_->WorkingSettings;
}
