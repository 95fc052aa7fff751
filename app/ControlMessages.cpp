#include "app/ControlMessages.h"

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "contract/Names.h"
#include "app/SiblingPrograms.h"
#include "config/SettingsFile.h"
#include "config/SettingsStore.h"
#include "device/DeviceSession.h"
#include "platform/Platform.h"

namespace {

constexpr DWORD kAfterSettingMs = 100;

std::int32_t Int32Of(WPARAM wParam) { return static_cast<std::int32_t>(wParam); }

// The active profile's slot, as ActiveProfile() takes it.
ProfileRecord& ActiveSlot(ServiceSettings& settings) {
    const int profile = settings.Profile;
    return settings.Profiles[profile >= 0 && profile < kProfileCount ? profile : 0];
}

}  // namespace

const MessageMapEntry<ControlMessages> ControlMessages::kMessageMap[] = {
    OnWParam<&ControlMessages::OnReadStage>(kMsgReadStage),
    OnWParam<&ControlMessages::OnSetPollingRate>(kMsgSetPollingRate),
    OnWParam<&ControlMessages::OnSetLiftOff>(kMsgSetLiftOff),
    OnWParam<&ControlMessages::OnWriteStages>(kMsgWriteStages),
    OnWParam<&ControlMessages::OnSetStateByte>(kMsgSetStateByte),
    OnWParam<&ControlMessages::OnSetLogoLight>(kMsgSetLogoLight),
    OnWParam<&ControlMessages::OnSetUniversalScroll>(kMsgSetUniversalScroll),
    OnWParam<&ControlMessages::OnNoAction>(kMsgNoAction),
    OnWParam<&ControlMessages::OnReloadSettings>(kMsgReloadSettings),
};

bool ControlMessages::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

std::int32_t ControlMessages::SetPollingRate(std::int32_t rateIndex) {
    settings_.ReloadSettings();
    // The rate goes into the settings file only when the mouse is there.
    return device_.SetPollingRate(rateIndex, &WritePollingRate);
}

LRESULT ControlMessages::OnReadStage(WPARAM, BOOL&) {
    const std::int32_t stage = device_.ReadResolutionStage();
    PostToSibling(kConfigProgramTitle, kNotifyStage, static_cast<WPARAM>(static_cast<LONG_PTR>(stage)));
    return 0;
}

LRESULT ControlMessages::OnSetPollingRate(WPARAM wParam, BOOL&) { return SetPollingRate(Int32Of(wParam)); }

LRESULT ControlMessages::OnSetLiftOff(WPARAM wParam, BOOL&) {
    device_.SetLiftOff(Int32Of(wParam));
    Sys().Kernel.Sleep(kAfterSettingMs);
    return 0;
}

LRESULT ControlMessages::OnWriteStages(WPARAM wParam, BOOL&) {
    settings_.ReloadSettings();
    device_.WriteResolutionStages(settings_.ActiveProfile(), Int32Of(wParam));
    Sys().Kernel.Sleep(kAfterSettingMs);
    return 0;
}

LRESULT ControlMessages::OnSetStateByte(WPARAM wParam, BOOL&) {
    device_.SetStateByte(Int32Of(wParam));
    Sys().Kernel.Sleep(kAfterSettingMs);
    return 0;
}

LRESULT ControlMessages::OnSetLogoLight(WPARAM wParam, BOOL&) {
    settings_.UpdateWorking([&](ServiceSettings& s) { ActiveSlot(s).LEDLogoEnable = Int32Of(wParam); });
    device_.SetLogoLight(settings_.ActiveProfile());
    return 0;
}

LRESULT ControlMessages::OnSetUniversalScroll(WPARAM wParam, BOOL&) {
    settings_.UpdateWorking([&](ServiceSettings& s) { ActiveSlot(s).UniversalScrollEnabled = Int32Of(wParam); });
    device_.SetUniversalScroll(settings_.ActiveProfile());
    return 0;
}

LRESULT ControlMessages::OnNoAction(WPARAM, BOOL&) { return 0; }

LRESULT ControlMessages::OnReloadSettings(WPARAM, BOOL&) {
    settings_.ReloadSettings();
    return 0;
}
