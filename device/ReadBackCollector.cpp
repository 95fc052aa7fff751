#include "device/ReadBackCollector.h"

#include <algorithm>
#include <cstring>

ReadBackCollector ReadBack;

namespace {

// Decodes the report in a zeroed frame of the usual size and copies its
// bytes 1 to length - 1, at most 8, to `target`.
void StorePayload(const std::uint8_t* report, std::size_t length, std::uint8_t* target,
                  void (*decode)(std::uint8_t* frame)) {
    std::uint8_t frame[kFrameSize] = {};
    const std::size_t copied = report == nullptr ? 0 : std::min(length, kFrameSize);
    if (copied > 0) std::memcpy(frame, report, copied);
    if (decode != nullptr) decode(frame);
    const std::size_t payload = copied > 1 ? std::min(copied - 1, kReportSize) : 0;
    std::memcpy(target, frame + 1, payload);
}

}  // namespace

void ReadBackCollector::Gather(const std::uint8_t* report, std::size_t length,
                               std::atomic<std::int32_t>& shortBusy, std::atomic<std::int32_t>& bulkBusy,
                               void (*decode)(std::uint8_t* frame)) {
    std::lock_guard<std::mutex> guard(lock_);
    if (shortBusy.load() != 0) {
        const int slot = counter_.load() % static_cast<int>(kReadBackReports);
        StorePayload(report, length, block_.data() + slot * kReportSize, decode);
        if (slot + 1 >= static_cast<int>(kReadBackReports)) {
            counter_.store(0);
            shortBusy.store(0);
        } else {
            counter_.store(slot + 1);
        }
        return;
    }
    if (bulkBusy.load() != 0) {
        const int slot = bulkCounter_.load() % static_cast<int>(kBulkReadBackReports);
        StorePayload(report, length, bulk_.data() + slot * kReportSize, decode);
        if (slot + 1 >= static_cast<int>(kBulkReadBackReports)) {
            bulkCounter_.store(0);
            bulkBusy.store(0);
        } else {
            bulkCounter_.store(slot + 1);
        }
    }
}

std::array<std::uint8_t, kReadBackBlockSize> ReadBackCollector::Block() const {
    std::lock_guard<std::mutex> guard(lock_);
    return block_;
}

std::array<std::uint8_t, kBulkReadBackSize> ReadBackCollector::BulkBlock() const {
    std::lock_guard<std::mutex> guard(lock_);
    return bulk_;
}

void ReadBackCollector::Reset() {
    std::lock_guard<std::mutex> guard(lock_);
    block_.fill(0);
    bulk_.fill(0);
    counter_.store(0);
    bulkCounter_.store(0);
}
