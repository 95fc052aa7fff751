// The section names of the settings file that carry a number (the keys
// are in contract/SettingsLayout.h).
#pragma once

#include "contract/SettingsLayout.h"
#include "platform/Text.h"


// "GROUP%d": the section of profile slot `slot`.
inline Text GroupSection(int slot) { return settings_keys::kGroupPrefix + TextFromInt(slot); }
// "ButtonAssigned%d_%d" with the slot and the button number 1 to 10: the
// section of a button's numbers and texts, and the key of its data block.
inline Text ButtonAssignedName(int slot, int buttonNumber) {
    return settings_keys::kButtonAssignedPrefix + TextFromInt(slot) + u"_" + TextFromInt(buttonNumber);
}
