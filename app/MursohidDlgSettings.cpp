// The main window's settings operations.
#include <memory>

#include "app/MursohidDlg.h"
#include "config/SettingsValidation.h"

void CMursohidDlg::ReloadSettings() {
    // The file is read into copies; the lock is held only to exchange them.
    auto working = std::make_unique<ServiceSettings>();
    auto snapshot = std::make_unique<ServiceSettings>();
    {
        std::lock_guard<std::mutex> guard(SettingsLock);
        *working = WorkingSettings;
        *snapshot = SettingsSnapshot;
    }
    ::ReloadSettings(*working, *snapshot);
    std::lock_guard<std::mutex> guard(SettingsLock);
    WorkingSettings = *working;
    SettingsSnapshot = *snapshot;
}

ServiceSettings CMursohidDlg::WorkingSettingsCopy() const {
    std::lock_guard<std::mutex> guard(SettingsLock);
    return WorkingSettings;
}

ProfileRecord CMursohidDlg::ActiveProfileCopy() const {
    std::lock_guard<std::mutex> guard(SettingsLock);
    const int profile = WorkingSettings.Profile;
    return WorkingSettings.Profiles[profile >= 0 && profile < kProfileCount ? profile : 0];
}
