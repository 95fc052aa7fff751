#include "actions/ButtonDispatcher.h"

#include "actions/ButtonFunctions.h"
#include "actions/HeldInput.h"
#include "actions/InputConventions.h"
#include "actions/MacroWorker.h"
#include "actions/MediaFunction.h"
#include "actions/MouseFunction.h"
#include "actions/ProgramLaunch.h"
#include "actions/VirtualKeys.h"

std::atomic<std::int32_t> ClutchToggleCounter{0};

namespace {

constexpr int kTopStage = kStageCount - 1;

bool IsProfileIndex(int profile) { return profile >= 0 && profile < kProfileCount; }
bool IsStageIndex(int stage) { return stage >= 0 && stage <= kTopStage; }

const MouseButtonEvents* MouseButtonFor(ButtonFunctionCode code) {
    for (const MouseButtonEvents& entry : kMouseButtonEvents)
        if (entry.Code == code) return &entry;
    return nullptr;
}

void NotifyStage(ActionHost& host, int stage) {
    host.PostToConfigurationProgram(kNotifyStage,
                                    static_cast<WPARAM>(static_cast<LONG_PTR>(stage)), 0);
}

void StepStage(ActionHost& host, ButtonFunctionCode code) {
    const int stage = NextResolutionStage(code, host.ReadResolutionStage());
    host.SelectResolutionStage(stage);
    NotifyStage(host, stage);
}

// Writes the stage table with stage `stage` running at the top stage's
// resolution when `engage` holds, else the table as the file has it.
void ApplyClutch(ActionHost& host, int profile, bool engage) {
    const int stage = host.ReadResolutionStage();
    if (engage && IsStageIndex(stage)) host.CopyTopStageResolution(profile, stage);
    host.WriteResolutionStages(stage);
    NotifyStage(host, stage);
}

// True when the press started a while-held repeat, which its release ends.
bool PressMacro(ActionHost& host, int button, std::int32_t playMode) {
    // A press while a repeat-until-pressed macro runs is its stop, nothing more.
    if (MacroRunFlag.exchange(0) != 0) return false;
    if (playMode >= 1 && playMode <= kMacroMostPasses) {
        PlayMacroPasses(host, button, playMode);
    } else if (playMode == kMacroRepeatWhileHeld) {
        NoteMacroRequest(true, button);
        host.PostToMacroWorker(kThreadMsgMacroRepeatWhileHeld, 0, button);
        return true;
    } else if (playMode == kMacroRepeatUntilPressed) {
        MacroRunFlag.store(1);
        NoteMacroRequest(false, button);
        host.PostToMacroWorker(kThreadMsgMacroRepeatUntilPressed, 0, button);
    }
    return false;
}

}  // namespace

void ButtonPressed(ActionHost& host, WindowQueries& windows, int button) {
    if (!IsButtonIndex(button)) return;
    const int profile = host.ActiveProfileIndex();
    host.ReloadActiveProfile();
    if (!IsProfileIndex(profile)) return;
    const ButtonAssignment assignment = host.WorkingAssignment(profile, button);
    const auto code = static_cast<ButtonFunctionCode>(assignment.ButtonFunc);
    NoteButtonPress(button, NotedPress{code});

    if (const MouseButtonEvents* mouse = MouseButtonFor(code)) {
        SendMouseEvent(mouse->DownFlags, mouse->Data);
        return;
    }
    switch (code) {
        case ButtonFunctionCode::DpiClutch:
            ApplyClutch(host, profile, true);
            break;
        case ButtonFunctionCode::DpiClutchToggle: {
            const std::int32_t count = ClutchToggleCounter.fetch_add(1) + 1;
            ApplyClutch(host, profile, (count & 1) != 0);
            break;
        }
        case ButtonFunctionCode::DpiStageUp:
        case ButtonFunctionCode::DpiStageDown:
        case ButtonFunctionCode::DpiCycleUp:
        case ButtonFunctionCode::DpiCycleDown:
            StepStage(host, code);
            break;
        case ButtonFunctionCode::VolumeUp:
            host.SetMainWindowTimer(kVolumeUpTimerId, kVolumeRepeatMs);
            NoteRepeatTimer(kVolumeUpTimerId, true);
            break;
        case ButtonFunctionCode::VolumeDown:
            host.SetMainWindowTimer(kVolumeDownTimerId, kVolumeRepeatMs);
            NoteRepeatTimer(kVolumeDownTimerId, true);
            break;
        case ButtonFunctionCode::Macro:
            if (PressMacro(host, button, assignment.ButtonID)) NoteButtonPress(button, NotedPress{code, true});
            break;
        case ButtonFunctionCode::MacroOnce:
            PlayMacro(host, button);
            break;
        case ButtonFunctionCode::LaunchProgram:
            LaunchProgramInForeground(host, windows, TextFromField(assignment.Path, kPathLength));
            break;
        case ButtonFunctionCode::KeyboardKey: {
            int virtualKey = 0;
            UsageToVirtualKey(host.SnapshotAssignment(profile, button).KeyNumber, virtualKey);
            TapKey(virtualKey);
            break;
        }
        case ButtonFunctionCode::MacroNotify:
            if (host.SnapshotAssignment(profile, button).MacroName[0] != 0)
                host.PostToConfigurationProgram(kNotifyProfileOrMacroButton, static_cast<WPARAM>(button), 0);
            break;
        default:
            break;
    }
}

void ButtonReleased(ActionHost& host, int button) {
    if (!IsButtonIndex(button)) return;
    const int profile = host.ActiveProfileIndex();
    host.ReloadActiveProfile();
    if (!IsProfileIndex(profile)) return;
    // A release ends what its own press started, whatever the settings say
    // by now; a release whose press was not seen follows the settings.
    const std::optional<NotedPress> pressed = TakeButtonPress(button);
    const auto code = pressed ? pressed->Code
                              : static_cast<ButtonFunctionCode>(host.WorkingAssignment(profile, button).ButtonFunc);

    if (const MouseButtonEvents* mouse = MouseButtonFor(code)) {
        SendMouseEvent(mouse->UpFlags, mouse->Data);
        return;
    }
    CMouseFunction mouse;
    CMediaFunction media;
    switch (code) {
        case ButtonFunctionCode::DpiClutch:
            ApplyClutch(host, profile, false);
            break;
        case ButtonFunctionCode::WheelUp: mouse.SendWheelUp(); break;
        case ButtonFunctionCode::WheelDown: mouse.SendWheelDown(); break;
        case ButtonFunctionCode::DoubleClick: mouse.SendDoubleClick(); break;
        case ButtonFunctionCode::MediaPlayPause: media.TapPlayPause(); break;
        case ButtonFunctionCode::MediaNextTrack: media.TapNextTrack(); break;
        case ButtonFunctionCode::MediaPreviousTrack: media.TapPreviousTrack(); break;
        case ButtonFunctionCode::VolumeMute: media.TapMute(); break;
        case ButtonFunctionCode::VolumeUp:
            host.KillMainWindowTimer(kVolumeUpTimerId);
            NoteRepeatTimer(kVolumeUpTimerId, false);
            break;
        case ButtonFunctionCode::VolumeDown:
            host.KillMainWindowTimer(kVolumeDownTimerId);
            NoteRepeatTimer(kVolumeDownTimerId, false);
            break;
        case ButtonFunctionCode::Macro: {
            if (pressed) {
                if (pressed->StartedWhileHeldMacro) MacroRunFlag.store(1);
                break;
            }
            // The play mode is taken from the profile that is active now,
            // after the refresh.
            const int active = host.ActiveProfileIndex();
            if (IsProfileIndex(active) &&
                host.WorkingAssignment(active, button).ButtonID == kMacroRepeatWhileHeld)
                MacroRunFlag.store(1);
            break;
        }
        default:
            break;
    }
}
