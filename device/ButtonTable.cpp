#include "device/ButtonTable.h"

#include <algorithm>
#include <cstring>

#include "contract/ButtonCodes.h"

bool ButtonTableImage::HasMacros() const {
    return std::any_of(MacroArea.begin(), MacroArea.end(), [](std::uint8_t b) { return b != 0; });
}

ButtonTableImage BuildButtonTable(const ProfileRecord& profile) {
    static_assert(kButtonCount * kButtonCodeSize == kButtonTableSize, "ten codes");
    static_assert(kButtonCount * kMacroBlockSize == kMacroAreaSize, "ten blocks");
    static_assert(2 + kMacroBlockDataMax <= kMacroBlockSize, "a block holds its data");
    ButtonTableImage image;
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonAssignment& button = profile.Buttons[i];
        const auto code = ButtonCodeFor(button.ButtonFunc, i, button.KeyNumber);
        std::copy(code.begin(), code.end(), image.Table.begin() + i * kButtonCodeSize);
        if (!HasMacroBlock(button.ButtonFunc)) continue;
        std::uint8_t* block = image.MacroArea.data() + i * kMacroBlockSize;
        block[0] = static_cast<std::uint8_t>((button.ButtonID >> 8) & 0xFF);
        block[1] = static_cast<std::uint8_t>(button.ButtonID & 0xFF);
        const std::size_t length = std::min<std::size_t>(button.KeyNumber, kMacroBlockDataMax);
        std::memcpy(block + 2, button.ButtonData, length);
    }
    return image;
}
