#include "device/DeviceSession.h"

#include <cstdio>

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

bool DeviceSession::OnWindowThread() const {
    return window_ != nullptr &&
           Sys().Windows.GetWindowThreadProcessId(window_) == Sys().Kernel.GetCurrentThreadId();
}

template <typename Operation>
std::int32_t DeviceSession::Transaction(const char* name, std::int32_t refused, Operation operation) {
    if (!channel_.Enter(OnWindowThread())) {
        char line[128];
        std::snprintf(line, sizeof line, "%s refused: another command held the mouse for %u ms\n", name,
                      static_cast<unsigned>(CommandChannel::kOtherThreadWaitMs));
        Sys().Kernel.OutputDebugStringW(TextFromUtf8(line));
        return refused;
    }
    const std::int32_t result = operation(Link());
    channel_.Leave();
    return result;
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
    return Transaction("SetPollingRate", 0,
                       [&](const DeviceLink& link) { return ::SetPollingRate(link, rateIndex, storeRate); });
}

ReadBackState DeviceSession::ShortReadBackState() {
    return ReadBack.ShortState(ShortReadBusy, Sys().Kernel.GetTickCount());
}
std::int32_t DeviceSession::WriteButtonTable(const ProfileRecord& profile) {
    return Transaction("WriteButtonTable", 0, [&](const DeviceLink& link) { return ::WriteButtonTable(link, profile); });
}
std::int32_t DeviceSession::WriteResolutionStages(const ProfileRecord& profile, std::int32_t stage) {
    return Transaction("WriteResolutionStages", 0,
                       [&](const DeviceLink& link) { return ::WriteResolutionStages(link, profile, stage); });
}
std::int32_t DeviceSession::SetUniversalScroll(const ProfileRecord& profile) {
    return Transaction("SetUniversalScroll", 0,
                       [&](const DeviceLink& link) { return ::SetUniversalScroll(link, profile); });
}
std::int32_t DeviceSession::SetLiftOff(std::int32_t value) {
    return Transaction("SetLiftOff", 0, [&](const DeviceLink& link) { return ::SetLiftOff(link, value); });
}
std::int32_t DeviceSession::SelectResolutionStage(std::int32_t stage) {
    return Transaction("SelectResolutionStage", 0,
                       [&](const DeviceLink& link) { return ::SelectResolutionStage(link, stage); });
}
std::int32_t DeviceSession::SetLogoLight(const ProfileRecord& profile) {
    return Transaction("SetLogoLight", 0, [&](const DeviceLink& link) { return ::SetLogoLight(link, profile); });
}
std::int32_t DeviceSession::SetStateByte(std::int32_t value) {
    return Transaction("SetStateByte", 0, [&](const DeviceLink& link) { return ::SetStateByte(link, value); });
}
bool DeviceSession::ProbeDevice() {
    if (!channel_.TryEnter()) {
        Sys().Kernel.OutputDebugStringW(u"ProbeDevice skipped: another command holds the mouse\n");
        return false;
    }
    const bool answered = ::ProbeDevice();
    channel_.Leave();
    return answered;
}
std::int32_t DeviceSession::ReadBackQuery() {
    return Transaction("ReadBackQuery", -1, [&](const DeviceLink& link) { return ::ReadBackQuery(link); });
}
std::int32_t DeviceSession::RequestReadBack() {
    return Transaction("RequestReadBack", -1,
                       [&](const DeviceLink& link) { return ::RequestReadBack(link, ShortReadBusy); });
}
std::int32_t DeviceSession::ReadResolutionStage() {
    return Transaction("ReadResolutionStage", -1,
                       [&](const DeviceLink& link) { return ::ReadResolutionStage(link); });
}
std::int32_t DeviceSession::ApplyProfileToDevice(const ProfileRecord& profile, ProgressSink* progress) {
    return Transaction("ApplyProfileToDevice", 0,
                       [&](const DeviceLink& link) { return ::ApplyProfileToDevice(link, profile, progress); });
}
