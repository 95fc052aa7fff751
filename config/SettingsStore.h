// The service's three settings records: WorkingSettings (what every action
// reads), SettingsSnapshot (the last validated copy) and DeviceSettingsImage
// (built from what the mouse reports back). They are shared between the
// main thread and the input thread, so they live behind one lock and leave
// it only as copies; the lock is never held across a sleep, a file or a
// device call.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "config/ActiveProfileCache.h"
#include "config/SettingsRecords.h"

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Reads the whole settings file into WorkingSettings and validates it
    // through SettingsSnapshot. A file that is there but cannot be read
    // leaves the records as the last read found them, or on the defaults
    // when no read has succeeded yet.
    // True when the file was read now (or is missing: the defaults).
    bool ReloadSettings();
    // Re-reads the Setting section and the active profile into WorkingSettings
    // (one attempt; a file that cannot be read leaves the records as they
    // are). The file is parsed again only when its bytes have changed.
    void ReloadActiveProfile();
    // Writes WorkingSettings as the whole settings file, unless the records
    // do not stand on a read of the file (it was there but could not be
    // read, and no read has succeeded since): a full write of defaults would
    // replace the user's profiles. Returns whether it wrote and every write
    // reached the file.
    bool WriteAllSettings();
    // The records hold what a read of the file found (or the defaults of a
    // missing file).
    bool ReadFromFile() const { return readFromFile_.load(); }

    ServiceSettings Working() const;
    ServiceSettings Snapshot() const;
    ServiceSettings DeviceImage() const;
    void SetDeviceImage(const ServiceSettings& image);
    // Profiles[Profile] of WorkingSettings; the first slot should Profile be
    // out of range.
    ProfileRecord ActiveProfile() const;

    // Small reads for the button actions, which run on every press.
    int ActiveProfileIndex() const;
    // Copies of one button of a profile (0 to 5, button 0 to 9; the first
    // slot and button for indices out of range).
    ButtonAssignment WorkingAssignment(int profile, int button) const;
    ButtonAssignment SnapshotAssignment(int profile, int button) const;
    // The button of the active profile, in one look.
    ButtonAssignment ActiveAssignment(int button) const;
    // In WorkingSettings, stage `stage` of `profile` takes the resolution of
    // the top stage (index 4). In memory only.
    void CopyTopStageResolution(int profile, int stage);

    // --- changes the control messages make ---
    // WorkingSettings.Profile = profile.
    void SetActiveProfileIndex(int profile);
    // Runs `change` on WorkingSettings under the lock; it must not sleep or
    // call out.
    void UpdateWorking(const std::function<void(ServiceSettings&)>& change);
    // SettingsSnapshot becomes a copy of the whole of WorkingSettings.
    void CopyWorkingToSnapshot();

private:
    struct Records;
    mutable std::mutex lock_;
    std::atomic<bool> readFromFile_{false};
    ActiveProfileCache activeProfile_;
    std::unique_ptr<Records> records_;
};
