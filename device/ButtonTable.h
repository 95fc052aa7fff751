// The button table (40 bytes) and the macro area (3,020 bytes) that one
// profile writes into the mouse.
#pragma once

#include <array>
#include <cstdint>

#include "config/SettingsRecords.h"
#include "device/DeviceProtocol.h"

struct ButtonTableImage {
    std::array<std::uint8_t, kButtonTableSize> Table{};
    std::array<std::uint8_t, kMacroAreaSize> MacroArea{};

    bool HasMacros() const;
};

// Button i's code at 4i; the macro block of functions 44 and 73 at 302i:
// ButtonID high byte, low byte, then the first KeyNumber (at most 240)
// bytes of ButtonData.
ButtonTableImage BuildButtonTable(const ProfileRecord& profile);
