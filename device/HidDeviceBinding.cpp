#include "device/HidDeviceBinding.h"

#include <mutex>

#include "platform/Platform.h"

namespace {

// Written under the bind lock, read from any thread.
std::mutex gBindLock;
std::atomic<HMODULE> gModule{nullptr};
std::atomic<HidSetMatchFunction> gSetMatch{nullptr};
std::atomic<HidSetCallbackFunction> gSetCallback{nullptr};
std::atomic<HidOpenFunction> gOpen{nullptr};
std::atomic<HidCloseFunction> gClose{nullptr};
std::atomic<HidWriteFunction> gWriteData{nullptr};
std::atomic<HidWriteFunction> gWriteCommand{nullptr};
std::atomic<HidReadFunction> gReadReply{nullptr};
std::atomic<HidReadNoticeFunction> gReadNotice{nullptr};

template <typename F>
void Resolve(HMODULE module, WORD ordinal, std::atomic<F>& slot) {
    slot.store(reinterpret_cast<F>(Sys().Kernel.GetProcAddressByOrdinal(module, ordinal)));
}

}  // namespace

void BindHidDevice() {
    std::lock_guard<std::mutex> guard(gBindLock);
    if (gModule.load() != nullptr) return;
    const HMODULE module = Sys().Kernel.LoadLibraryW(u"HidDevice.dll");
    if (module == nullptr) return;
    Resolve(module, kOrdinalOpen, gOpen);
    Resolve(module, kOrdinalClose, gClose);
    Resolve(module, kOrdinalWriteData, gWriteData);
    Resolve(module, kOrdinalWriteCommand, gWriteCommand);
    Resolve(module, kOrdinalReadReply, gReadReply);
    Resolve(module, kOrdinalSetMatch, gSetMatch);
    Resolve(module, kOrdinalSetCallback, gSetCallback);
    Resolve(module, kOrdinalReadNotice, gReadNotice);
    gModule.store(module);
    if (gReadNotice.load() == nullptr)
        Sys().Kernel.OutputDebugStringW(
            u"HidDevice.dll has no ordinal 9 (ReadNotice): its collection notices cannot be read, "
            u"the mouse is treated as absent\n");
}

void ResetHidDeviceBinding() {
    std::lock_guard<std::mutex> guard(gBindLock);
    gModule.store(nullptr);
    gOpen.store(nullptr);
    gClose.store(nullptr);
    gWriteData.store(nullptr);
    gWriteCommand.store(nullptr);
    gReadReply.store(nullptr);
    gSetMatch.store(nullptr);
    gSetCallback.store(nullptr);
    gReadNotice.store(nullptr);
}

bool HidDeviceBound() { return gModule.load() != nullptr; }

bool HidDeviceReadsNotices() { return gReadNotice.load() != nullptr; }

int HidSetMatch(const DWORD* matchRecord) {
    const auto f = gSetMatch.load();
    return f ? f(matchRecord) : 0;
}

int HidSetCallback(HidInputCallback callback) {
    const auto f = gSetCallback.load();
    return f ? f(callback) : 0;
}

int HidOpen(HWND window, UINT message) {
    const auto f = gOpen.load();
    return f ? f(window, message) : 0;
}

int HidClose() {
    const auto f = gClose.load();
    return f ? f() : 0;
}

int HidWriteData(DWORD deviceId, const BYTE* bytes, DWORD length) {
    const auto f = gWriteData.load();
    return f ? f(deviceId, bytes, length) : 0;
}

int HidWriteCommand(DWORD deviceId, const BYTE* bytes, DWORD length) {
    const auto f = gWriteCommand.load();
    return f ? f(deviceId, bytes, length) : 0;
}

int HidReadReply(DWORD deviceId, BYTE* buffer, DWORD length) {
    const auto f = gReadReply.load();
    return f ? f(deviceId, buffer, length) : 0;
}

int HidReadNotice(LPARAM notice, _DEVICE_STATE* record) {
    const auto f = gReadNotice.load();
    return f && record != nullptr ? f(notice, record) : 0;
}
