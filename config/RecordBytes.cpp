#include "config/RecordBytes.h"

namespace {

void PutInt32(std::uint8_t* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t GetInt32(const std::uint8_t* at) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

}  // namespace

StageBlock StagesToBytes(const DpiStage (&stages)[kStageCount]) {
    StageBlock bytes{};
    for (int n = 0; n < kStageCount; ++n) {
        std::uint8_t* at = bytes.data() + sizeof(DpiStage) * n;
        PutInt32(at, stages[n].Enabled);
        PutInt32(at + 4, stages[n].X);
        PutInt32(at + 8, stages[n].Y);
    }
    return bytes;
}

void StagesFromBytes(const StageBlock& bytes, DpiStage (&stages)[kStageCount]) {
    for (int n = 0; n < kStageCount; ++n) {
        const std::uint8_t* at = bytes.data() + sizeof(DpiStage) * n;
        stages[n].Enabled = GetInt32(at);
        stages[n].X = GetInt32(at + 4);
        stages[n].Y = GetInt32(at + 8);
    }
}

std::size_t MacroEventCount(const std::uint8_t (&data)[kButtonDataSize]) {
    std::size_t count = 0;
    while (count < kMaxMacroEvents && data[count * kMacroEventSize + 2] != 0) ++count;
    return count;
}

MacroEvent MacroEventAt(const std::uint8_t (&data)[kButtonDataSize], std::size_t index) {
    MacroEvent event{};
    if (index >= kMaxMacroEvents) return event;
    for (std::size_t i = 0; i < kMacroEventSize; ++i) event.Bytes[i] = data[index * kMacroEventSize + i];
    return event;
}
