// The collection of the reports that answer a read-back request: while a
// collection flag is set, the decoded payload (bytes 1 to 8) of each report
// is stored in a process-wide block, 8 bytes per report, and the flag is
// cleared after the last one. The flags live with their owner (the main
// window); counters and blocks live here, the blocks behind a lock and
// copied out whole.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "device/DeviceProtocol.h"

class ReadBackCollector {
public:
    // Gathers one report when shortBusy is set (four reports, 64-byte
    // block), else when bulkBusy is set (192 reports, 1,536-byte block).
    // `decode` transforms a 9-byte frame in place (may be null).
    void Gather(const std::uint8_t* report, std::size_t length, std::atomic<std::int32_t>& shortBusy,
                std::atomic<std::int32_t>& bulkBusy, void (*decode)(std::uint8_t* frame));

    std::array<std::uint8_t, kReadBackBlockSize> Block() const;
    std::array<std::uint8_t, kBulkReadBackSize> BulkBlock() const;
    int Counter() const { return counter_.load(); }
    void Reset();

private:
    mutable std::mutex lock_;
    std::array<std::uint8_t, kReadBackBlockSize> block_{};
    std::array<std::uint8_t, kBulkReadBackSize> bulk_{};
    std::atomic<int> counter_{0};
    std::atomic<int> bulkCounter_{0};
};

// The process-wide read-back state.
extern ReadBackCollector ReadBack;
