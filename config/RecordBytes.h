// Byte views of the settings records: the 60-byte stage block as it is
// stored in the file, and the macro list inside a button's 240 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "config/SettingsRecords.h"

constexpr std::size_t kStageBlockSize = sizeof(DpiStage) * kStageCount;  // 60
static_assert(kStageBlockSize == 60, "the stage block is 60 bytes");
static_assert(sizeof(ButtonAssignment::ButtonData) == kButtonDataSize, "button data is 240 bytes");
static_assert(kMaxMacroEvents == 80, "a macro holds at most 80 events");

using StageBlock = std::array<std::uint8_t, kStageBlockSize>;

// Little-endian, stage n at byte 12 * n: Enabled, X, Y.
StageBlock StagesToBytes(const DpiStage (&stages)[kStageCount]);
void StagesFromBytes(const StageBlock& bytes, DpiStage (&stages)[kStageCount]);

// Events of a MacroRecord: up to the first whose key byte is 0, at most 80.
std::size_t MacroEventCount(const std::uint8_t (&data)[kButtonDataSize]);
MacroEvent MacroEventAt(const std::uint8_t (&data)[kButtonDataSize], std::size_t index);

// KeyNumber used as a length of ButtonData never reaches past its 240 bytes.
constexpr std::size_t BoundedMacroLength(std::uint8_t keyNumber) {
    return keyNumber < kButtonDataSize ? keyNumber : kButtonDataSize;
}
