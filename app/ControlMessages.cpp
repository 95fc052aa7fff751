// The configuration programs' single-setting messages and the messages the
// service accepts and ignores. Each runs on the main thread, one at a time;
// the waits are plain sleeps that hold the thread.
#include "app/MainWindowState.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "app/ServiceNames.h"

namespace {

constexpr DWORD kAfterSettingMs = 100;

std::int32_t Int32Of(WPARAM wParam) { return static_cast<std::int32_t>(wParam); }

// The active profile's slot, as ActiveProfile() takes it.
ProfileRecord& ActiveSlot(ServiceSettings& settings) {
    const int profile = settings.Profile;
    return settings.Profiles[profile >= 0 && profile < kProfileCount ? profile : 0];
}

}  // namespace

LRESULT CMursohidDlg::OnReadStage(UINT, WPARAM, LPARAM, BOOL&) {
    const std::int32_t stage = state_->Device.ReadResolutionStage();
    PostToSibling(kConfigProgramTitle, kNotifyStage, static_cast<WPARAM>(static_cast<LONG_PTR>(stage)));
    return 0;
}

LRESULT CMursohidDlg::OnSetPollingRate(UINT, WPARAM wParam, LPARAM, BOOL&) {
    return SetPollingRate(Int32Of(wParam));
}

LRESULT CMursohidDlg::OnSetLiftOff(UINT, WPARAM wParam, LPARAM, BOOL&) {
    state_->Device.SetLiftOff(Int32Of(wParam));
    Sys().Kernel.Sleep(kAfterSettingMs);
    return 0;
}

LRESULT CMursohidDlg::OnWriteStages(UINT, WPARAM wParam, LPARAM, BOOL&) {
    ReloadSettings();
    state_->Device.WriteResolutionStages(state_->Settings.ActiveProfile(), Int32Of(wParam));
    Sys().Kernel.Sleep(kAfterSettingMs);
    return 0;
}

LRESULT CMursohidDlg::OnSetStateByte(UINT, WPARAM wParam, LPARAM, BOOL&) {
    state_->Device.SetStateByte(Int32Of(wParam));
    Sys().Kernel.Sleep(kAfterSettingMs);
    return 0;
}

LRESULT CMursohidDlg::OnSetLogoLight(UINT, WPARAM wParam, LPARAM, BOOL&) {
    state_->Settings.UpdateWorking([&](ServiceSettings& s) { ActiveSlot(s).LEDLogoEnable = Int32Of(wParam); });
    state_->Device.SetLogoLight(state_->Settings.ActiveProfile());
    return 0;
}

LRESULT CMursohidDlg::OnSetUniversalScroll(UINT, WPARAM wParam, LPARAM, BOOL&) {
    state_->Settings.UpdateWorking(
        [&](ServiceSettings& s) { ActiveSlot(s).UniversalScrollEnabled = Int32Of(wParam); });
    state_->Device.SetUniversalScroll(state_->Settings.ActiveProfile());
    return 0;
}

LRESULT CMursohidDlg::OnNoAction(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT CMursohidDlg::OnReloadSettings(UINT, WPARAM, LPARAM, BOOL&) {
    ReloadSettings();
    return 0;
}

LRESULT CMursohidDlg::OnDeviceChange(UINT, WPARAM, LPARAM, BOOL&) { return TRUE; }
