#include "device/DeviceList.h"

DeviceListStore DeviceList;
std::atomic<DWORD> CurrentDeviceId{0};

WORD DeviceIdForUsage(const std::vector<_DEVICE_STATE>& entries, DWORD usage) {
    if (entries.empty()) return 0;
    for (const auto& entry : entries)
        if ((entry.Usage & 0xFFFF) == usage) return static_cast<WORD>(entry.DeviceId & 0xFFFF);
    return static_cast<WORD>(entries.back().DeviceId & 0xFFFF);
}

bool DeviceListStore::Append(const _DEVICE_STATE& entry) {
    std::lock_guard<std::mutex> guard(lock_);
    for (auto& held : entries_) {
        if ((held.DeviceId & 0xFFFF) == (entry.DeviceId & 0xFFFF)) {
            held = entry;
            return false;
        }
    }
    entries_.push_back(entry);
    return true;
}

bool DeviceListStore::RemoveById(DWORD deviceId) {
    std::lock_guard<std::mutex> guard(lock_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if ((it->DeviceId & 0xFFFF) == (deviceId & 0xFFFF)) {
            entries_.erase(it);
            return true;
        }
    }
    return false;
}

bool DeviceListStore::Empty() const {
    std::lock_guard<std::mutex> guard(lock_);
    return entries_.empty();
}

std::size_t DeviceListStore::Count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return entries_.size();
}

std::vector<_DEVICE_STATE> DeviceListStore::Entries() const {
    std::lock_guard<std::mutex> guard(lock_);
    return entries_;
}

void DeviceListStore::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    entries_.clear();
}

WORD CommandDeviceId() { return DeviceIdForUsage(DeviceList.Entries(), kCommandUsage); }
WORD DataDeviceId() { return DeviceIdForUsage(DeviceList.Entries(), kDataUsage); }

CollectionChange ApplyCollectionNotification(WPARAM wParam, const _DEVICE_STATE* record,
                                             std::atomic<std::int32_t>& deviceOpen) {
    if (wParam != kCollectionNotification || record == nullptr) return CollectionChange::Ignored;
    const _DEVICE_STATE copy = *record;
    if (copy.State == kCollectionOpened) {
        return DeviceList.Append(copy) ? CollectionChange::Appended : CollectionChange::Replaced;
    }
    if (copy.State != kCollectionClosed) return CollectionChange::Ignored;
    if (DeviceList.Empty()) {
        deviceOpen.store(0);
        return CollectionChange::ClearedOpenFlag;
    }
    return DeviceList.RemoveById(copy.DeviceId) ? CollectionChange::Removed : CollectionChange::NotInList;
}
