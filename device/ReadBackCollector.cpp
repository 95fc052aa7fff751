#include "device/ReadBackCollector.h"

#include <algorithm>
#include <cstring>

ReadBackCollector ReadBack;

namespace {

// Decodes the report in a zeroed frame of the usual size and gives its bytes
// 1 to length - 1, at most 8, in `payload`; returns how many there are.
std::size_t DecodePayload(const std::uint8_t* report, std::size_t length,
                          void (*decode)(std::uint8_t* frame), std::uint8_t* payload) {
    std::uint8_t frame[kFrameSize] = {};
    const std::size_t copied = report == nullptr ? 0 : std::min(length, kFrameSize);
    if (copied > 0) std::memcpy(frame, report, copied);
    if (decode != nullptr) decode(frame);
    const std::size_t size = copied > 1 ? std::min(copied - 1, kReportSize) : 0;
    std::memcpy(payload, frame + 1, size);
    return size;
}

}  // namespace

void ReadBackCollector::Arm(std::atomic<std::int32_t>& shortBusy, DWORD now) {
    std::lock_guard<std::mutex> guard(lock_);
    block_.fill(0);
    counter_.store(0);
    armedAt_ = now;
    shortState_ = ReadBackState::Pending;
    shortBusy.store(1);
}

void ReadBackCollector::EndShortWithoutDataLocked(std::atomic<std::int32_t>& shortBusy) {
    // Answers gathered so far are a part of nothing: they go too.
    block_.fill(0);
    counter_.store(0);
    shortState_ = ReadBackState::EndedWithoutData;
    shortBusy.store(0);
}

void ReadBackCollector::CheckShortLocked(std::atomic<std::int32_t>& shortBusy, DWORD now) {
    if (shortBusy.load() == 0) {
        // Cleared by its owner: nothing is pending any more.
        if (shortState_ == ReadBackState::Pending) shortState_ = ReadBackState::EndedWithoutData;
        return;
    }
    if (shortState_ != ReadBackState::Pending) {
        armedAt_ = now;
        shortState_ = ReadBackState::Pending;
    }
    // Unsigned difference: right across the wrap of the tick count.
    if (static_cast<DWORD>(now - armedAt_) >= kReadBackAnswerTimeoutMs) EndShortWithoutDataLocked(shortBusy);
}

void ReadBackCollector::Gather(const std::uint8_t* report, std::size_t length,
                               std::atomic<std::int32_t>& shortBusy, std::atomic<std::int32_t>& bulkBusy,
                               void (*decode)(std::uint8_t* frame), DWORD now) {
    if (shortBusy.load() == 0 && bulkBusy.load() == 0) return;
    // The library call runs before the lock is taken: no lock is held across it.
    std::uint8_t payload[kReportSize] = {};
    const std::size_t size = DecodePayload(report, length, decode, payload);

    std::lock_guard<std::mutex> guard(lock_);
    if (shortBusy.load() != 0) {
        CheckShortLocked(shortBusy, now);
        if (shortBusy.load() == 0) return;  // too late: the collection has ended without data
        const int slot = counter_.load() % static_cast<int>(kReadBackReports);
        std::memcpy(block_.data() + slot * kReportSize, payload, size);
        if (slot + 1 >= static_cast<int>(kReadBackReports)) {
            counter_.store(0);
            shortState_ = ReadBackState::Complete;
            shortBusy.store(0);
        } else {
            counter_.store(slot + 1);
        }
        return;
    }
    if (bulkBusy.load() == 0) return;
    const int slot = bulkCounter_.load() % static_cast<int>(kBulkReadBackReports);
    std::memcpy(bulk_.data() + slot * kReportSize, payload, size);
    if (slot + 1 >= static_cast<int>(kBulkReadBackReports)) {
        bulkCounter_.store(0);
        bulkBusy.store(0);
    } else {
        bulkCounter_.store(slot + 1);
    }
}

ReadBackState ReadBackCollector::ShortState(std::atomic<std::int32_t>& shortBusy, DWORD now) {
    std::lock_guard<std::mutex> guard(lock_);
    CheckShortLocked(shortBusy, now);
    return shortState_;
}

void ReadBackCollector::Cancel(std::atomic<std::int32_t>& shortBusy, std::atomic<std::int32_t>& bulkBusy) {
    std::lock_guard<std::mutex> guard(lock_);
    if (shortBusy.load() != 0 || shortState_ == ReadBackState::Pending) EndShortWithoutDataLocked(shortBusy);
    counter_.store(0);
    bulkCounter_.store(0);
    bulkBusy.store(0);
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
    shortState_ = ReadBackState::Idle;
    armedAt_ = 0;
}
