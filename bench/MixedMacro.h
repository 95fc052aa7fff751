// The macro the timing benchmarks play, on the host and under Wine: 80
// events pressing and releasing A in turn, each followed by its delay in
// 20 ms steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "actions/MacroPlayer.h"

// Mixed delays of 0, 20 and 100 ms, in turn.
constexpr std::uint16_t kMixedDelaySteps[] = {1, 0, 5, 1, 0, 1, 5, 0, 1, 1};

inline std::uint16_t MixedDelayStep(std::size_t index) {
    return kMixedDelaySteps[index % (sizeof kMixedDelaySteps / sizeof kMixedDelaySteps[0])];
}

inline std::vector<std::uint16_t> MixedDelaySteps() {
    std::vector<std::uint16_t> steps;
    for (std::size_t i = 0; i < kMaxMacroEvents; ++i) steps.push_back(MixedDelayStep(i));
    return steps;
}

// Up to 80 events, A pressed and released in turn, with these delay steps.
inline MacroData MacroWithDelaySteps(const std::vector<std::uint16_t>& steps) {
    constexpr std::uint8_t kPressBit = 0x80;
    constexpr std::uint8_t kUsageA = 0x04;
    MacroData data{};
    for (std::size_t i = 0; i < steps.size() && i < kMaxMacroEvents; ++i) {
        const std::size_t at = i * kMacroEventSize;
        data[at] = static_cast<std::uint8_t>((i % 2 == 0 ? kPressBit : 0) | ((steps[i] >> 8) & 0x7F));
        data[at + 1] = static_cast<std::uint8_t>(steps[i] & 0xFF);
        data[at + 2] = kUsageA;
    }
    return data;
}
