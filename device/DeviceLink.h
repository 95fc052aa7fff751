// Opening and closing the mouse, and the device guard that every command
// runs first. The caller supplies what the library needs: the window that
// hears of collections, the message number, the input callback, the flag
// that says the mouse has been opened, the read-back collection flags that
// an open or a close ends, and how to wait between reports.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "device/DeviceProtocol.h"

struct DeviceLink {
    HWND Window = nullptr;
    UINT NotificationMessage = 0;
    HidInputCallback Callback = nullptr;
    std::atomic<std::int32_t>* DeviceOpen = nullptr;
    std::atomic<std::int32_t>* ShortReadBusy = nullptr;  // may be null, with BulkReadBusy
    std::atomic<std::int32_t>* BulkReadBusy = nullptr;
    // How the commands wait between reports; empty: a plain Sleep.
    std::function<void(DWORD milliseconds)> Wait;
};

// Ordinal 3 first when already open; then 7 (match), 8 (callback), 2 (open).
// Stores ordinal 2's result in DeviceOpen and returns it. A pending read-back
// collection ends without data: its answers can no longer come. Off the
// window's thread, while that thread closes the mouse, nothing is called and
// 0 is returned (DeviceOpen stays).
std::int32_t OpenDevice(const DeviceLink& link);
// Ordinal 3. DeviceOpen and DeviceList are left as they are; a pending
// read-back collection ends without data. Returns 1. On the window's thread
// it first waits for an open under way on another thread, answering the
// messages that open sends meanwhile.
std::int32_t CloseDevice(const DeviceLink& link);
// Ends the link's read-back collections (ReadBack.Cancel); nothing without flags.
void CancelReadBack(const DeviceLink& link);

enum class GuardResult { NoDevice, NoCollection, Ready };
// Reopens when DeviceOpen is zero; NoDevice when that fails, NoCollection
// when no collection is open.
GuardResult DeviceGuard(const DeviceLink& link);
