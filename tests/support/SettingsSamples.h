// Settings records and files shared by the configuration tests, benchmarks
// and tools: a complete realistic record (six named profiles, ten buttons
// each, every macro block filled) and the canonical default record.
#pragma once

#include <cstring>

#include "config/SettingsRecords.h"
#include "platform/Text.h"

namespace samples {

constexpr std::int32_t kDefaultStages[kStageCount] = {16, 40, 70, 100, 8};

// The settings a new installation starts with: every value already in its
// corrected form, buttons 1 to 10 on their own function codes.
inline ServiceSettings DefaultSettings() {
    ServiceSettings s;
    std::memset(&s, 0, sizeof s);
    s.MouseButtons = 10;
    s.Profile = 0;
    s.PollingRate = 2;
    s.TrayEnabled = 1;
    s.Mode = 0;
    for (int k = 0; k < kProfileCount; ++k) {
        ProfileRecord& p = s.Profiles[k];
        p.UniversalScrollEnabled = 1;
        p.AccelerationEnabled = 0;
        p.XYSensitivityEnabled = 0;
        p.LIFT = 5;
        p.DPI = 0;
        p.DPICurrentX = 16;
        p.DPICurrentY = 16;
        p.LEDLogoEnable = 4;
        p.DPIStageNum = kStageCount;
        for (int n = 0; n < kStageCount; ++n) p.DPIStageValue[n] = DpiStage{1, kDefaultStages[n], kDefaultStages[n]};
        CopyTextToField(u"Profile " + TextFromInt(k + 1), p.Name, kNameLength);
        for (int b = 0; b < kButtonCount; ++b) {
            ButtonAssignment& a = p.Buttons[b];
            a.ButtonID = 0;
            a.ButtonFunc = static_cast<std::uint8_t>(b + 1);
            a.KeyNumber = 0;
            a.RepeatType = 0;
        }
    }
    return s;
}

// A heavy, realistic record: long names and paths, macros of 80 events in
// every button, values that differ per slot and button.
inline ServiceSettings FullSettings() {
    ServiceSettings s = DefaultSettings();
    s.Profile = 2;
    s.PollingRate = 3;
    s.Mode = 1;
    for (int k = 0; k < kProfileCount; ++k) {
        ProfileRecord& p = s.Profiles[k];
        p.LIFT = 1 + k;
        p.DPI = k % 5;
        p.DPICurrentX = 20 + k;
        p.DPICurrentY = 30 + k;
        p.LEDLogoEnable = (k % 2) ? 0 : 4;
        CopyTextToField(u"Gaming profile number " + TextFromInt(k + 1) + u" \u00e9t\u00e9", p.Name, kNameLength);
        CopyTextToField(u"game" + TextFromInt(k) + u".exe", p.Launch, kLaunchLength);
        for (int b = 0; b < kButtonCount; ++b) {
            ButtonAssignment& a = p.Buttons[b];
            a.ButtonID = (b % 3 == 0) ? 65535 : b;
            a.ButtonFunc = static_cast<std::uint8_t>(b % 2 ? 44 : 73);
            a.KeyNumber = 240;
            a.RepeatType = static_cast<std::uint8_t>(b % 3);
            CopyTextToField(u"Macro " + TextFromInt(k) + u"-" + TextFromInt(b), a.MacroName, kMacroNameLength);
            CopyTextToField(u"C:\\Program Files\\Some Tool\\tool" + TextFromInt(b) + u".exe", a.Path, kPathLength);
            for (std::size_t e = 0; e < kMaxMacroEvents; ++e) {
                a.ButtonData[e * 3] = static_cast<std::uint8_t>((e % 2 ? 0x00 : 0x80) | (e % 3));
                a.ButtonData[e * 3 + 1] = static_cast<std::uint8_t>(5 + e + k + b);
                a.ButtonData[e * 3 + 2] = static_cast<std::uint8_t>(4 + (e + b) % 40);
            }
        }
    }
    return s;
}

// A word in the script of a code page the tests run under. For 932 it holds
// pairs whose second byte is '[' (0x815B) or a backslash (0x955C, 0x835C), which a
// reader that takes the file byte by byte would misread.
inline Text WordOfCodePage(unsigned codePage) {
    switch (codePage) {
    case 1251: return u"\u0418\u0433\u0440\u0430 \u0451\u0416";
    case 932: return u"\u30B2\u30FC\u30E0\u8868\u30BD \uFF71";
    default: return u"Caf\u00E9 \u00E9t\u00E9 \u00C4\u00DF";
    }
}

// FullSettings with `word` in every text field of every slot and button.
inline ServiceSettings SettingsWithTexts(const Text& word) {
    ServiceSettings s = FullSettings();
    for (int k = 0; k < kProfileCount; ++k) {
        ProfileRecord& p = s.Profiles[k];
        const Text slot = TextFromInt(k);
        CopyTextToField(word + u" " + slot, p.Name, kNameLength);
        CopyTextToField(word + slot + u".exe", p.Launch, kLaunchLength);
        for (int b = 0; b < kButtonCount; ++b) {
            const Text button = slot + u"-" + TextFromInt(b);
            CopyTextToField(word + u" " + button, p.Buttons[b].MacroName, kMacroNameLength);
            CopyTextToField(u"C:\\" + word + u"\\" + word + button + u".exe", p.Buttons[b].Path, kPathLength);
        }
    }
    return s;
}

}  // namespace samples
