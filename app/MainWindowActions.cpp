#include "app/MainWindowActions.h"

#include <cstring>

#include "app/ProcessState.h"
#include "contract/Names.h"
#include "config/SettingsStore.h"
#include "device/DeviceSession.h"
#include "platform/Platform.h"

MacroData MainWindowActions::ActiveMacroData(int button) {
    const ButtonAssignment assignment = settings_.ActiveAssignment(button);
    MacroData data{};
    static_assert(sizeof assignment.ButtonData == std::tuple_size<MacroData>::value, "one button's data");
    std::memcpy(data.data(), assignment.ButtonData, data.size());
    return data;
}

int MainWindowActions::ActiveProfileIndex() { return settings_.ActiveProfileIndex(); }
void MainWindowActions::ReloadActiveProfile() { settings_.ReloadActiveProfile(); }

ButtonAssignment MainWindowActions::WorkingAssignment(int profile, int button) {
    return settings_.WorkingAssignment(profile, button);
}

ButtonAssignment MainWindowActions::SnapshotAssignment(int profile, int button) {
    return settings_.SnapshotAssignment(profile, button);
}

void MainWindowActions::CopyTopStageResolution(int profile, int stage) {
    settings_.CopyTopStageResolution(profile, stage);
}

int MainWindowActions::ReadResolutionStage() { return device_.ReadResolutionStage(); }
void MainWindowActions::SelectResolutionStage(int stage) { device_.SelectResolutionStage(stage); }

void MainWindowActions::WriteResolutionStages(int stage) {
    device_.WriteResolutionStages(settings_.ActiveProfile(), stage);
}

void MainWindowActions::SetMainWindowTimer(UINT_PTR id, UINT milliseconds) {
    Sys().Windows.SetTimer(window_, id, milliseconds);
}

void MainWindowActions::KillMainWindowTimer(UINT_PTR id) { Sys().Windows.KillTimer(window_, id); }

void MainWindowActions::PostToMacroWorker(UINT message, WPARAM wParam, LPARAM lParam) {
    Sys().Windows.PostThreadMessageW(WorkerThreadId.load(), message, wParam, lParam);
}

void MainWindowActions::PostToConfigurationProgram(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND config = Sys().Windows.FindWindowW(Text(), kConfigProgramTitle))
        Sys().Windows.PostMessageW(config, message, wParam, lParam);
}
