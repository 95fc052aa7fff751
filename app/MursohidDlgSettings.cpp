// The main window's settings operations.
#include <memory>

#include "app/MursohidDlg.h"
#include "config/SettingsFile.h"
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
    if (::ReloadSettings(*working, *snapshot) != FileReadStatus::Unreadable) {
        SettingsReadFromFile.store(true);
    } else if (!SettingsReadFromFile.load()) {
        // Nothing was ever read: run on the defaults, which are never written back.
        LoadDefaultSettings(*working, *snapshot);
    }  // else the records keep what the last read found
    std::lock_guard<std::mutex> guard(SettingsLock);
    WorkingSettings = *working;
    SettingsSnapshot = *snapshot;
}

bool CMursohidDlg::WriteAllSettingsFromRecords() {
    if (!SettingsReadFromFile.load()) return false;
    const auto working = std::make_unique<ServiceSettings>(WorkingSettingsCopy());
    WriteAllSettings(*working);
    return true;
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
