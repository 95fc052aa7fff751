// The work buffer of every exchange with the mouse: 1024 zeroed bytes with
// the 8-byte report at offsets 1 to 8 (offset 0 stays zero).
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "device/DeviceProtocol.h"

struct ReportFrame {
    std::array<std::uint8_t, kFrameSize> Bytes{};

    std::uint8_t* Report() { return Bytes.data() + kReportOffset; }
    const std::uint8_t* Report() const { return Bytes.data() + kReportOffset; }
};

// A frame whose report holds `bytes` (at most 8; the rest zero).
inline ReportFrame MakeFrame(std::initializer_list<std::uint8_t> bytes) {
    ReportFrame frame;
    std::size_t i = 0;
    for (std::uint8_t b : bytes) {
        if (i == kReportSize) break;
        frame.Report()[i++] = b;
    }
    return frame;
}

// A data frame carrying 8 bytes from `source`, or fewer when `count` is
// smaller (the rest zero).
inline ReportFrame MakeDataFrame(const std::uint8_t* source, std::size_t count) {
    ReportFrame frame;
    for (std::size_t i = 0; i < count && i < kReportSize; ++i) frame.Report()[i] = source[i];
    return frame;
}
