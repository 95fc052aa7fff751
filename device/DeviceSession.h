// The mouse as the main window holds it: the window and input callback the
// library is opened with, the DeviceOpen flag, the read-back collection
// flags, and every command of the command set on a given profile. Any
// thread may call the commands; each is one transaction of the command
// channel (device/CommandChannel.h) and runs the device guard first. A
// command of another thread than the window's that waited out the channel's
// bound is refused: it sends nothing, writes a debug line and returns its
// no-device result.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "config/SettingsRecords.h"
#include "device/CommandChannel.h"
#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"
#include "device/DeviceList.h"
#include "device/InputHandling.h"
#include "device/ProgressSink.h"
#include "device/ReadBackCollector.h"

class DeviceSession {
public:
    // The window that hears of collections through `message`, and the
    // callback the library hands input reports to.
    void Bind(HWND window, UINT message, HidInputCallback callback);
    // How the commands that the calling thread runs wait between reports
    // from now on (empty: plain sleeps). Commands on other threads keep
    // plain sleeps.
    void SetWait(std::function<void(DWORD milliseconds)> wait);

    std::int32_t OpenDevice();
    std::int32_t CloseDevice();
    bool IsOpen() const { return DeviceOpen.load() != 0; }
    void SetOpen(std::int32_t open) { DeviceOpen.store(open); }

    // The list's part of the collection notification.
    CollectionChange ApplyCollectionNotification(WPARAM wParam, const _DEVICE_STATE* record);
    // Handles one input report: debug lines, routing, read-back collection.
    void HandleInputReport(InputRoutes* routes, DWORD identifier, const std::uint8_t* report,
                           std::size_t length);

    // Sends the report-rate code; `storeRate` (may be null) is called with
    // the index once the mouse is known to be there, before the code goes out.
    std::int32_t SetPollingRate(std::int32_t rateIndex, void (*storeRate)(std::int32_t));
    std::int32_t WriteButtonTable(const ProfileRecord& profile);
    std::int32_t WriteResolutionStages(const ProfileRecord& profile, std::int32_t stage);
    std::int32_t SetUniversalScroll(const ProfileRecord& profile);
    std::int32_t SetLiftOff(std::int32_t value);
    std::int32_t SelectResolutionStage(std::int32_t stage);
    std::int32_t SetLogoLight(const ProfileRecord& profile);
    std::int32_t SetStateByte(std::int32_t value);
    // Only when no other thread holds the channel (its result is not used,
    // and the window's thread, where arrivals are handled, may be answering
    // the notices of an open that the holder makes).
    bool ProbeDevice();
    std::int32_t ReadBackQuery();
    std::int32_t RequestReadBack();
    std::int32_t ReadResolutionStage();
    std::int32_t ApplyProfileToDevice(const ProfileRecord& profile, ProgressSink* progress);

    bool ShortReadPending() const { return ShortReadBusy.load() != 0; }
    bool BulkReadPending() const { return BulkReadBusy.load() != 0; }
    // Where the four-report collection armed by RequestReadBack stands; the
    // steps that wait for it treat EndedWithoutData as nothing read.
    ReadBackState ShortReadBackState();

    // The thread in a command now, 0 for none.
    DWORD ChannelHolder() const { return channel_.Holder(); }
    // Threads waiting for the channel now.
    int ChannelWaiters() const { return channel_.Waiting(); }

private:
    DeviceLink Link();
    bool OnWindowThread() const;
    // Runs `operation` with the link as one transaction; `refused` when the
    // channel could not be had. `name` goes into the refusal's debug line.
    template <typename Operation>
    std::int32_t Transaction(const char* name, std::int32_t refused, Operation operation);

    HWND window_ = nullptr;
    UINT message_ = 0;
    HidInputCallback callback_ = nullptr;
    std::mutex waitLock_;
    std::function<void(DWORD milliseconds)> wait_;
    DWORD waitThread_ = 0;
    std::atomic<std::int32_t> DeviceOpen{0};
    std::atomic<std::int32_t> ShortReadBusy{0};
    std::atomic<std::int32_t> BulkReadBusy{0};
    CommandChannel channel_;
};
