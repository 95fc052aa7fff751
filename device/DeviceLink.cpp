#include "device/DeviceLink.h"

#include "device/DeviceList.h"
#include "device/HidDeviceBinding.h"
#include "device/ReadBackCollector.h"
#include "platform/Platform.h"

namespace {

// Opening and closing the mouse from two threads. The library announces each
// collection it opens by sending 0x502 to the window, so an open made on
// another thread (the device guard on the input thread) waits for the
// window's thread; and a close waits for the input callback in progress. A
// close on the window's thread while the input thread opens would have each
// wait for the other for ever. So an open off the window's thread first
// counts itself in and gives up when a close is under way, and a close on the
// window's thread first says so, then waits for the opens already counted in
// while answering the messages they send.
std::atomic<int> OpensOffWindowThread{0};
std::atomic<int> ClosesOnWindowThread{0};

bool OnWindowThread(const DeviceLink& link) {
    return link.Window != nullptr &&
           Sys().Windows.GetWindowThreadProcessId(link.Window) == Sys().Kernel.GetCurrentThreadId();
}

// Ordinal 3; on the window's thread, once no open of another thread is under way.
void CloseLibrary(const DeviceLink& link) {
    if (!OnWindowThread(link)) {
        HidClose();
        return;
    }
    ClosesOnWindowThread.fetch_add(1);
    while (OpensOffWindowThread.load() != 0) {
        Sys().Windows.HandleSentMessages();
        Sys().Kernel.Sleep(1);
    }
    HidClose();
    ClosesOnWindowThread.fetch_sub(1);
}

std::int32_t OpenLibrary(const DeviceLink& link) {
    BindHidDevice();
    if (!HidDeviceReadsNotices()) {
        // No collection could ever be listed: the mouse counts as absent.
        link.DeviceOpen->store(0);
        return 0;
    }
    if (link.DeviceOpen->load() != 0) CloseLibrary(link);
    DWORD match[kMatchRecordSize];  // the library takes DWORDs; the contract's values fit them
    for (std::size_t i = 0; i < kMatchRecordSize; ++i) match[i] = kMatchRecord[i];
    HidSetMatch(match);
    HidSetCallback(link.Callback);
    // Every collection of an earlier open was released with it; the library
    // announces each one it opens now. Stale entries would send commands to
    // a device id that no longer exists.
    DeviceList.Clear();
    const std::int32_t opened = HidOpen(link.Window, link.NotificationMessage);
    link.DeviceOpen->store(opened);
    return opened;
}

}  // namespace

void CancelReadBack(const DeviceLink& link) {
    if (link.ShortReadBusy != nullptr && link.BulkReadBusy != nullptr)
        ReadBack.Cancel(*link.ShortReadBusy, *link.BulkReadBusy);
}

std::int32_t OpenDevice(const DeviceLink& link) {
    CancelReadBack(link);
    if (OnWindowThread(link)) return OpenLibrary(link);
    OpensOffWindowThread.fetch_add(1);
    // The window's thread is closing the mouse: it is not there for this thread.
    const std::int32_t opened = ClosesOnWindowThread.load() != 0 ? 0 : OpenLibrary(link);
    OpensOffWindowThread.fetch_sub(1);
    return opened;
}

std::int32_t CloseDevice(const DeviceLink& link) {
    CancelReadBack(link);
    CloseLibrary(link);
    return 1;
}

GuardResult DeviceGuard(const DeviceLink& link) {
    if (link.DeviceOpen->load() == 0 && OpenDevice(link) == 0) return GuardResult::NoDevice;
    if (DeviceList.Empty()) return GuardResult::NoCollection;
    return GuardResult::Ready;
}
