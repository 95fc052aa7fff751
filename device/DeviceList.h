// The open HID collections of the mouse, in arrival order. Filled and
// emptied by the library's collection notifications on the main thread and
// read by the device commands on any thread: every access takes the list's
// own lock for a moment and nothing is held across a call out.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "device/DeviceProtocol.h"

// Device id (low 16 bits) of the first entry with this usage; when none
// matches, of the last entry; 0 for an empty list.
WORD DeviceIdForUsage(const std::vector<_DEVICE_STATE>& entries, DWORD usage);

class DeviceListStore {
public:
    // One entry per device id (low 16 bits): a collection announced again
    // (a reopen's notices can come before the earlier ones are handled)
    // replaces its entry in place. True when the entry is new.
    bool Append(const _DEVICE_STATE& entry);
    // Removes the first entry whose device id (low 16 bits) equals `deviceId`'s.
    bool RemoveById(DWORD deviceId);
    bool Empty() const;
    std::size_t Count() const;
    std::vector<_DEVICE_STATE> Entries() const;
    void Clear();

private:
    mutable std::mutex lock_;
    std::vector<_DEVICE_STATE> entries_;
};

// The process-wide list.
extern DeviceListStore DeviceList;
// The command collection's id as last stored by a command, and by the
// arrival handling.
extern std::atomic<DWORD> CurrentDeviceId;

WORD CommandDeviceId();
WORD DataDeviceId();

// What a collection notification did to the list.
enum class CollectionChange {
    Ignored,         // not a collection notification, or an unknown state
    Appended,        // a collection opened and was added
    Replaced,        // a collection opened that the list already held: its entry was renewed
    Removed,         // a collection closed and its entry was removed
    NotInList,       // a collection closed that the list does not hold
    ClearedOpenFlag  // a collection closed while the list was empty: DeviceOpen is now 0
};

// The list's part of message 0x502: wParam and the record it points to
// (null is ignored). The record is copied at once.
CollectionChange ApplyCollectionNotification(WPARAM wParam, const _DEVICE_STATE* record,
                                             std::atomic<std::int32_t>& deviceOpen);
