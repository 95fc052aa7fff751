// What the action engine asks of the main window: its settings store, its
// device session, its timers, the macro worker and the configuration
// program, as the narrow interfaces the engine takes.
#pragma once

#include "actions/ActionHost.h"

class DeviceSession;
class SettingsStore;

class MainWindowActions final : public ActionHost {
public:
    MainWindowActions(SettingsStore& settings, DeviceSession& device) : settings_(settings), device_(device) {}
    void SetWindow(HWND window) { window_ = window; }

    MacroData ActiveMacroData(int button) override;
    int ActiveProfileIndex() override;
    void ReloadActiveProfile() override;
    ButtonAssignment WorkingAssignment(int profile, int button) override;
    ButtonAssignment SnapshotAssignment(int profile, int button) override;
    void CopyTopStageResolution(int profile, int stage) override;
    int ReadResolutionStage() override;
    void SelectResolutionStage(int stage) override;
    void WriteResolutionStages(int stage) override;
    HWND MainWindowHandle() override { return window_; }
    void SetMainWindowTimer(UINT_PTR id, UINT milliseconds) override;
    void KillMainWindowTimer(UINT_PTR id) override;
    void PostToMacroWorker(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostToConfigurationProgram(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SettingsStore& settings_;
    DeviceSession& device_;
    HWND window_ = nullptr;
};
