#include "device/DeviceSession.h"

#include "platform/Platform.h"

void DeviceSession::Bind(HWND window, UINT message, HidInputCallback callback) {
    window_ = window;
    message_ = message;
    callback_ = callback;
}

void DeviceSession::SetWait(std::function<void(DWORD milliseconds)> wait) {
    const DWORD thread = wait ? Sys().Kernel.GetCurrentThreadId() : 0;
    std::lock_guard<std::mutex> guard(waitLock_);
    wait_ = std::move(wait);
    waitThread_ = thread;
}

DeviceLink DeviceSession::Link() {
    DeviceLink link{window_, message_, callback_, &DeviceOpen, &ShortReadBusy, &BulkReadBusy, {}};
    std::lock_guard<std::mutex> guard(waitLock_);
    if (wait_ && waitThread_ == Sys().Kernel.GetCurrentThreadId()) link.Wait = wait_;
    return link;
}

std::int32_t DeviceSession::OpenDevice() { return ::OpenDevice(Link()); }
std::int32_t DeviceSession::CloseDevice() { return ::CloseDevice(Link()); }

CollectionChange DeviceSession::ApplyCollectionNotification(WPARAM wParam, const _DEVICE_STATE* record) {
    // A collection going away (the mouse unplugged) takes the answers of a
    // pending read-back with it.
    if (record != nullptr && record->State == kCollectionClosed) CancelReadBack(Link());
    return ::ApplyCollectionNotification(wParam, record, DeviceOpen);
}

void DeviceSession::HandleInputReport(InputRoutes* routes, DWORD identifier, const std::uint8_t* report,
                                      std::size_t length) {
    ::HandleInputReport(InputContext{routes, &ShortReadBusy, &BulkReadBusy}, identifier, report, length);
}

std::int32_t DeviceSession::SetPollingRate(std::int32_t rateIndex, void (*storeRate)(std::int32_t)) {
    return ::SetPollingRate(Link(), rateIndex, storeRate);
}

ReadBackState DeviceSession::ShortReadBackState() {
    return ReadBack.ShortState(ShortReadBusy, Sys().Kernel.GetTickCount());
}
std::int32_t DeviceSession::WriteButtonTable(const ProfileRecord& profile) {
    return ::WriteButtonTable(Link(), profile);
}
std::int32_t DeviceSession::WriteResolutionStages(const ProfileRecord& profile, std::int32_t stage) {
    return ::WriteResolutionStages(Link(), profile, stage);
}
std::int32_t DeviceSession::SetUniversalScroll(const ProfileRecord& profile) {
    return ::SetUniversalScroll(Link(), profile);
}
std::int32_t DeviceSession::SetLiftOff(std::int32_t value) { return ::SetLiftOff(Link(), value); }
std::int32_t DeviceSession::SelectResolutionStage(std::int32_t stage) {
    return ::SelectResolutionStage(Link(), stage);
}
std::int32_t DeviceSession::SetLogoLight(const ProfileRecord& profile) {
    return ::SetLogoLight(Link(), profile);
}
std::int32_t DeviceSession::SetStateByte(std::int32_t value) { return ::SetStateByte(Link(), value); }
bool DeviceSession::ProbeDevice() { return ::ProbeDevice(); }
std::int32_t DeviceSession::ReadBackQuery() { return ::ReadBackQuery(Link()); }
std::int32_t DeviceSession::RequestReadBack() { return ::RequestReadBack(Link(), ShortReadBusy); }
std::int32_t DeviceSession::ReadResolutionStage() { return ::ReadResolutionStage(Link()); }
std::int32_t DeviceSession::ApplyProfileToDevice(const ProfileRecord& profile, ProgressSink* progress) {
    return ::ApplyProfileToDevice(Link(), profile, progress);
}
