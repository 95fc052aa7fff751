#include "device/DeviceLink.h"

#include "device/DeviceList.h"
#include "device/HidDeviceBinding.h"
#include "device/ReadBackCollector.h"

void CancelReadBack(const DeviceLink& link) {
    if (link.ShortReadBusy != nullptr && link.BulkReadBusy != nullptr)
        ReadBack.Cancel(*link.ShortReadBusy, *link.BulkReadBusy);
}

std::int32_t OpenDevice(const DeviceLink& link) {
    CancelReadBack(link);
    BindHidDevice();
    if (link.DeviceOpen->load() != 0) HidClose();
    HidSetMatch(kMatchRecord);
    HidSetCallback(link.Callback);
    // Every collection of an earlier open was released with it; the library
    // announces each one it opens now. Stale entries would send commands to
    // a device id that no longer exists.
    DeviceList.Clear();
    const std::int32_t opened = HidOpen(link.Window, link.NotificationMessage);
    link.DeviceOpen->store(opened);
    return opened;
}

std::int32_t CloseDevice(const DeviceLink& link) {
    CancelReadBack(link);
    HidClose();
    return 1;
}

GuardResult DeviceGuard(const DeviceLink& link) {
    if (link.DeviceOpen->load() == 0 && OpenDevice(link) == 0) return GuardResult::NoDevice;
    if (DeviceList.Empty()) return GuardResult::NoCollection;
    return GuardResult::Ready;
}
