// What the button dispatcher needs of the main window and its settings store.
// The main window implements it; tests record it. Every settings read is a
// copy taken under the store's lock.
#pragma once

#include <cstdint>

#include "actions/MacroPlayer.h"
#include "config/SettingsRecords.h"
#include "platform/WinTypes.h"

class ActionHost : public MacroSource {
public:
    // --- settings store ---
    // WorkingSettings.Profile as it stands.
    virtual int ActiveProfileIndex() = 0;
    // ReloadActiveProfile on WorkingSettings: re-reads the Setting section and
    // the active profile slot from the settings file.
    virtual void ReloadActiveProfile() = 0;
    // Copies of WorkingSettings.Profiles[profile].Buttons[button] and of the
    // same record in SettingsSnapshot; profile 0 to 5, button 0 to 9.
    virtual ButtonAssignment WorkingAssignment(int profile, int button) = 0;
    virtual ButtonAssignment SnapshotAssignment(int profile, int button) = 0;
    // In WorkingSettings.Profiles[profile].DPIStageValue, stage `stage` (0 to
    // 4) takes the X and Y of stage 5 (index 4); Enabled stays. In memory only.
    virtual void CopyTopStageResolution(int profile, int stage) = 0;

    // --- device commands of the main window ---
    // The stage index the mouse reports; -1 when the mouse cannot be opened,
    // 0 when its command channel is missing.
    virtual int ReadResolutionStage() = 0;
    // Selects stage `stage` (the command limits it to 0 to 4).
    virtual void SelectResolutionStage(int stage) = 0;
    // Writes the active profile's stage table into the mouse and selects `stage`.
    virtual void WriteResolutionStages(int stage) = 0;

    // --- windows, timers and threads ---
    // The main window's handle.
    virtual HWND MainWindowHandle() = 0;
    // SetTimer(main window, id, milliseconds, no callback) / KillTimer(main window, id).
    virtual void SetMainWindowTimer(UINT_PTR id, UINT milliseconds) = 0;
    virtual void KillMainWindowTimer(UINT_PTR id) = 0;
    // PostThreadMessageW(WorkerThreadId, message, wParam, lParam).
    virtual void PostToMacroWorker(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // FindWindowW(no class, "Lunket_Driver_Config"), then PostMessageW to the
    // window if one was found; nothing otherwise.
    virtual void PostToConfigurationProgram(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~ActionHost() = default;
};
