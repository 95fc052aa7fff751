// The foreground watch: every tick of timer 1, and at once on each of the
// system's foreground events, the program that owns the foreground window
// selects the profile whose Launch names it.
#include <string>

#include "app/ForegroundMatch.h"
#include "app/ForegroundProgram.h"
#include "app/MainWindowState.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "app/ServiceNames.h"
#include "config/SettingsFile.h"

void CMursohidDlg::WatchForeground() {
    HWND foreground = Sys().Windows.GetForegroundWindow();
    if (foreground == nullptr) return;
    const DWORD processId = Sys().Windows.GetWindowProcessId(foreground);
    if (processId == 0) return;  // the window is gone
    const std::optional<Text> program = ProgramFileName(processId);
    if (!program) return;  // no snapshot, or the process has ended
    // The Launch texts as they are in memory; the file is not re-read.
    const int profile = ProfileSwitchForProgram(state_->Settings.Working(), *program);
    if (profile == kNoProfile) return;
    Sys().Kernel.OutputDebugStringW(u"PROFILESWITCH:" + TextFromUtf8(std::to_string(profile)) + u"," + *program +
                                    u" is in front");
    SetActiveProfile(profile);
}

void CMursohidDlg::SetActiveProfile(int profile) {
    state_->Settings.SetActiveProfileIndex(profile);
    WriteActiveProfile(profile);
    PostToSibling(kConfigProgramTitle, kNotifyProfileSwitched, static_cast<WPARAM>(profile));
}

void CMursohidDlg::StartForegroundEvents() {
    // Events of other programs' windows only; runs on this thread while it
    // takes its messages, like the timer.
    state_->ForegroundHook = Sys().Windows.SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND,
                                                           [this](DWORD, HWND) { WatchForeground(); });
}

void CMursohidDlg::StopForegroundEvents() {
    if (state_->ForegroundHook != nullptr) Sys().Windows.UnhookWinEvent(state_->ForegroundHook);
    state_->ForegroundHook = nullptr;
}
