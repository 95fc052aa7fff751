// A button as the mouse holds it: the four bytes the service writes into the
// mouse's button table for an assignment. Read-back compares in this
// encoding, so a button whose bytes match what the service would write is
// never changed, whatever the decode table makes of them.
#pragma once

#include <array>
#include <cstdint>

#include "config/SettingsRecords.h"
#include "contract/ButtonCodes.h"

using ButtonEntryBytes = std::array<std::uint8_t, 4>;

// The code the service writes for `assignment` at button `index` (0 to 9).
inline ButtonEntryBytes EncodeButton(const ButtonAssignment& assignment, int index) {
    return ButtonCodeFor(assignment.ButtonFunc, index, assignment.KeyNumber);
}

// True when `entry`, as the mouse reported it, is what the service writes
// for `assignment` at button `index`.
inline bool EncodesAs(const ButtonAssignment& assignment, int index, const ButtonEntryBytes& entry) {
    return EncodeButton(assignment, index) == entry;
}
