// The service's one hidden top-level window. It owns all run-time state
// (the settings store, the device session, the registry key holder, the
// worker thread) and runs the start-up sequence when it is created and the
// shut-down sequence when it is destroyed. Its handlers are short; the work
// lives in the subsystems.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/CWnd.h"

class DeviceSession;
class SettingsStore;

class CMursohidDlg : public CWnd {
public:
    CMursohidDlg();
    ~CMursohidDlg() override;

    // Creates the hidden window; the start-up sequence runs inside.
    BOOL CreateServiceWindow();

    // --- operations other parts of the service call ---
    void LaunchTrayProgram();
    // Reloads WorkingSettings from the settings file, validated.
    void ReloadSettings();
    // Sends report-rate index r to the mouse and, when it was there, keeps
    // it as PollingRate in the settings file.
    std::int32_t SetPollingRate(std::int32_t rateIndex);
    // One input report from the library's thread.
    void HandleInputReport(DWORD identifier, const BYTE* report, DWORD length);
    // The macro worker thread's loop; returns when the thread's queue ends.
    int RunMacroWorker();

    SettingsStore& Settings();
    DeviceSession& Device();

protected:
    bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // --- handlers ---
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The action engine's timers (volume repeat, Tab tap); others go on.
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The library's collection notification: the list is kept up to date,
    // then the message goes on to default processing.
    LRESULT OnDeviceNotification(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // 0x4DE: the whole active profile into the mouse behind the progress
    // dialog, then 0x4E1 to the configuration program.
    LRESULT OnFullWrite(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    static const MessageMapEntry<CMursohidDlg> kMessageMap[];

    struct State;
    std::unique_ptr<State> state_;
};
