// Section and key names of the settings file.
#pragma once

#include "platform/Text.h"

namespace settings_keys {

constexpr char16_t kSetting[] = u"Setting";
constexpr char16_t kProfile[] = u"Profile";
constexpr char16_t kTrayEnabled[] = u"TrayEnabled";
constexpr char16_t kMouseButtons[] = u"MouseButtons";
constexpr char16_t kPollingRate[] = u"PollingRate";
constexpr char16_t kMode[] = u"Mode";
constexpr char16_t kPlug[] = u"Plug";

constexpr char16_t kName[] = u"Name";
constexpr char16_t kLaunch[] = u"Launch";
constexpr char16_t kUniversalScrollEnabled[] = u"UniversalScrollEnabled";
constexpr char16_t kAccelerationEnabled[] = u"AccelerationEnabled";
constexpr char16_t kXYSensitivityEnabled[] = u"XYSensitivityEnabled";
constexpr char16_t kLIFT[] = u"LIFT";
constexpr char16_t kLEDLogoEnable[] = u"LEDLogoEnable";
constexpr char16_t kDPI[] = u"DPI";
constexpr char16_t kDPICurrentX[] = u"DPICurrentX";
constexpr char16_t kDPICurrentY[] = u"DPICurrentY";
constexpr char16_t kDPIStageNum[] = u"DPIStageNum";
constexpr char16_t kDPIStageValue[] = u"DPIStageValue";

constexpr char16_t kButtonID[] = u"ButtonID";
constexpr char16_t kRepeatType[] = u"RepeatType";
constexpr char16_t kButtonFunc[] = u"ButtonFunc";
constexpr char16_t kKeyNumber[] = u"KeyNumber";
constexpr char16_t kMacroName[] = u"MacroName";
constexpr char16_t kPath[] = u"Path";

}  // namespace settings_keys

// "GROUP%d": the section of profile slot `slot`.
inline Text GroupSection(int slot) { return u"GROUP" + TextFromInt(slot); }
// "ButtonAssigned%d_%d" with the slot and the button number 1 to 10: the
// section of a button's numbers and texts, and the key of its data block.
inline Text ButtonAssignedName(int slot, int buttonNumber) {
    return u"ButtonAssigned" + TextFromInt(slot) + u"_" + TextFromInt(buttonNumber);
}
