#include "app/ForegroundWatch.h"

#include <string>

#include "app/ForegroundMatch.h"
#include "app/ForegroundProgram.h"
#include "contract/Messages.h"
#include "contract/Timers.h"
#include "contract/Names.h"
#include "app/SiblingPrograms.h"
#include "app/WriteGate.h"
#include "config/SettingsFile.h"
#include "config/SettingsStore.h"
#include "platform/Platform.h"

const MessageMapEntry<ForegroundWatch> ForegroundWatch::kMessageMap[] = {
    OnTimerId<&ForegroundWatch::OnTimer>(),
};

bool ForegroundWatch::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

void ForegroundWatch::OnTimer(UINT_PTR id, BOOL& handled) {
    if (id == kPeriodicTimerId) Watch();
    handled = FALSE;
}

void ForegroundWatch::Start(HWND window, WriteGate* gate) {
    gate_ = gate;
    Sys().Windows.SetTimer(window, kPeriodicTimerId, kPeriodicTimerMs);
    // Events of other programs' windows only; runs on this thread while it
    // takes its messages, like the timer.
    hook_ = Sys().Windows.SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND,
                                          [this](DWORD, HWND) {
                                              // During a full write: a check of the foreground after it.
                                              if (gate_ != nullptr && gate_->Keep(WM_TIMER, kPeriodicTimerId, 0)) return;
                                              Watch();
                                          });
}

void ForegroundWatch::Stop() {
    if (hook_ != nullptr) Sys().Windows.UnhookWinEvent(hook_);
    hook_ = nullptr;
}

void ForegroundWatch::Watch() {
    HWND foreground = Sys().Windows.GetForegroundWindow();
    if (foreground == nullptr) return;
    const DWORD processId = Sys().Windows.GetWindowProcessId(foreground);
    if (processId == 0) return;  // the window is gone
    const std::optional<Text> program = ProgramFileName(processId);
    if (!program) return;  // no snapshot, or the process has ended
    // The Launch texts as they are in memory; the file is not re-read.
    const int profile = ProfileSwitchForProgram(settings_.Working(), *program);
    if (profile == kNoProfile) return;
    Sys().Kernel.OutputDebugStringW(u"PROFILESWITCH:" + TextFromUtf8(std::to_string(profile)) + u"," + *program +
                                    u" is in front");
    SetActiveProfile(profile);
}

void ForegroundWatch::SetActiveProfile(int profile) {
    settings_.SetActiveProfileIndex(profile);
    WriteActiveProfile(profile);
    PostToSibling(kConfigProgramTitle, kNotifyProfileOrMacroButton, static_cast<WPARAM>(profile));
}
