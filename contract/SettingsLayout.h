// Section and key names of the settings file, config.ini.
#pragma once

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

// Section prefixes: "GROUP<slot>" holds profile slot 0 to 5;
// "ButtonAssigned<slot>_<button 1 to 10>" holds a button's numbers and
// texts, and is also the key of its data block.
constexpr char16_t kGroupPrefix[] = u"GROUP";
constexpr char16_t kButtonAssignedPrefix[] = u"ButtonAssigned";

}  // namespace settings_keys
