// The service's one hidden top-level window. It owns all run-time state and
// runs the start-up sequence when it is created and the shut-down sequence
// when it is destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "app/RegistryKeyHolder.h"
#include "config/SettingsRecords.h"
#include "device/DeviceLink.h"
#include "device/ReadBackCollector.h"
#include "device/ProgressSink.h"
#include "framework/CWnd.h"

class CMursohidDlg : public CWnd {
public:
    static constexpr std::size_t kBulkReceiveSize = 1536;  // 192 reports of 8 bytes
    static constexpr std::size_t kBulkSlotSize = 1536;
    static constexpr std::size_t kShortSlotSize = 64;
    static constexpr int kReadBackSlots = 3;

    CMursohidDlg();
    ~CMursohidDlg() override;

    // Creates the hidden window; the start-up sequence runs inside.
    BOOL CreateServiceWindow();

    void LaunchTrayProgram();

    // Settings operations on the window's records. The records are shared
    // with the input callback's thread: read and change them under
    // SettingsLock, through copies, and never hold it across a sleep, a file
    // or a device call.
    void ReloadSettings();
    // Writes the working record as the whole settings file, unless the
    // records do not stand on a read of the file (it was there but could not
    // be read, and no read has succeeded since): a full write of defaults
    // would replace the user's profiles. Returns whether it wrote.
    bool WriteAllSettingsFromRecords();
    ServiceSettings WorkingSettingsCopy() const;
    // Profiles[Profile] of WorkingSettings; the first slot should Profile be out of range.
    ProfileRecord ActiveProfileCopy() const;

    // Device operations (the device link).
    std::int32_t OpenDevice();
    std::int32_t CloseDevice();
    std::int32_t SetStateByte(std::int32_t value);

    // --- device link: the command set, forwarded to device/ ---
    // What the device functions need of this window.
    DeviceLink Link();
    std::int32_t SetPollingRate(std::int32_t rateIndex);
    std::int32_t WriteButtonTable();
    std::int32_t WriteResolutionStages(std::int32_t stage);
    std::int32_t SetUniversalScroll();
    std::int32_t SetLiftOff(std::int32_t value);
    std::int32_t SelectResolutionStage(std::int32_t stage);
    std::int32_t SetLogoLight();
    bool ProbeDevice();
    std::int32_t ReadBackQuery();
    std::int32_t RequestReadBack();
    // Where the four-report collection armed by RequestReadBack stands; the
    // steps that wait for it treat EndedWithoutData as nothing read.
    ReadBackState ShortReadBackState();
    std::int32_t ReadResolutionStage();
    std::int32_t ApplyProfileToDevice(ProgressSink* progress);
    // The input callback's routing targets (the action engine and scrolling).
    void ButtonPressed(int buttonIndex);
    void ButtonReleased(int buttonIndex);
    void LaunchAssignedProgram(int buttonIndex);
    void ZoomIn();
    void ZoomOut();
    // --- end of device link ---

    // --- state, in the order the window keeps it ---
    CWnd* ProgressDialog = nullptr;  // only while a full write to the mouse runs
    HANDLE WorkerThread = nullptr;
    std::atomic<std::int32_t> DeviceOpen{0};
    std::uint8_t BulkReceiveBuffer[kBulkReceiveSize];
    std::uint8_t BulkReadBackSlots[kReadBackSlots][kBulkSlotSize];
    std::uint8_t ShortReadBackSlots[kReadBackSlots][kShortSlotSize];
    std::atomic<std::int32_t> ShortReadBusy{0};
    std::atomic<std::int32_t> BulkReadBusy{0};
    mutable std::mutex SettingsLock;  // guards the three settings records
    // The records hold what a full read of the settings file found (or the
    // defaults of a missing file); false until then.
    std::atomic<bool> SettingsReadFromFile{false};
    ServiceSettings SettingsSnapshot;
    ServiceSettings WorkingSettings;
    RegistryKeyHolder MouseKey;
    ServiceSettings DeviceSettingsImage;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend struct CMursohidDlgMap;
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    // The library's collection notification, seen before the message map.
    void OnDeviceNotification(WPARAM wParam, LPARAM lParam);
};
