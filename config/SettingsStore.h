// The service's three settings records: WorkingSettings (what every action
// reads), SettingsSnapshot (the last validated copy) and DeviceSettingsImage
// (built from what the mouse reports back). They are shared between the
// main thread and the input thread, so they live behind one lock and leave
// it only as copies; the lock is never held across a sleep, a file or a
// device call.
#pragma once

#include <memory>
#include <mutex>

#include "config/SettingsRecords.h"

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Reads the whole settings file into WorkingSettings and validates it
    // through SettingsSnapshot.
    void ReloadSettings();
    // Re-reads the Setting section and the active profile into WorkingSettings.
    void ReloadActiveProfile();

    ServiceSettings Working() const;
    ServiceSettings Snapshot() const;
    ServiceSettings DeviceImage() const;
    void SetDeviceImage(const ServiceSettings& image);
    // Profiles[Profile] of WorkingSettings; the first slot should Profile be
    // out of range.
    ProfileRecord ActiveProfile() const;

private:
    struct Records;
    mutable std::mutex lock_;
    std::unique_ptr<Records> records_;
};
