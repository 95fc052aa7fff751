#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "config/SettingsValidation.h"
#include "tests/support/SettingsSamples.h"

namespace {

struct ValidationCase {
    const char* name;
    std::function<void(ServiceSettings&)> change;  // applied to valid defaults
    std::function<bool(const ServiceSettings&)> check;
    bool countsAsChange;
};

const ValidationCase kCases[] = {
    {"valid defaults stay", [](ServiceSettings&) {},
     [](const ServiceSettings& s) { return s.Profile == 0 && s.PollingRate == 2; }, false},
    {"Profile 9 becomes 0", [](ServiceSettings& s) { s.Profile = 9; },
     [](const ServiceSettings& s) { return s.Profile == 0; }, true},
    {"Profile -1 becomes 0", [](ServiceSettings& s) { s.Profile = -1; },
     [](const ServiceSettings& s) { return s.Profile == 0; }, true},
    {"Profile 5 stays", [](ServiceSettings& s) { s.Profile = 5; },
     [](const ServiceSettings& s) { return s.Profile == 5; }, false},
    {"PollingRate 3 stays", [](ServiceSettings& s) { s.PollingRate = 3; },
     [](const ServiceSettings& s) { return s.PollingRate == 3; }, false},
    {"PollingRate 4 becomes 2", [](ServiceSettings& s) { s.PollingRate = 4; },
     [](const ServiceSettings& s) { return s.PollingRate == 2; }, true},
    {"MouseButtons 0 becomes 10 without counting", [](ServiceSettings& s) { s.MouseButtons = 0; },
     [](const ServiceSettings& s) { return s.MouseButtons == 10; }, false},
    {"MouseButtons -1 becomes 10", [](ServiceSettings& s) { s.MouseButtons = -1; },
     [](const ServiceSettings& s) { return s.MouseButtons == 10; }, false},
    {"TrayEnabled 2 becomes 1", [](ServiceSettings& s) { s.TrayEnabled = 2; },
     [](const ServiceSettings& s) { return s.TrayEnabled == 1; }, true},
    {"Mode is never touched", [](ServiceSettings& s) { s.Mode = -77; },
     [](const ServiceSettings& s) { return s.Mode == -77; }, false},
    {"LEDLogoEnable 1 becomes 4", [](ServiceSettings& s) { s.Profiles[3].LEDLogoEnable = 1; },
     [](const ServiceSettings& s) { return s.Profiles[3].LEDLogoEnable == 4; }, true},
    {"LEDLogoEnable 0 stays", [](ServiceSettings& s) { s.Profiles[3].LEDLogoEnable = 0; },
     [](const ServiceSettings& s) { return s.Profiles[3].LEDLogoEnable == 0; }, false},
    {"UniversalScrollEnabled 7 becomes 1", [](ServiceSettings& s) { s.Profiles[0].UniversalScrollEnabled = 7; },
     [](const ServiceSettings& s) { return s.Profiles[0].UniversalScrollEnabled == 1; }, true},
    {"AccelerationEnabled -1 becomes 0", [](ServiceSettings& s) { s.Profiles[5].AccelerationEnabled = -1; },
     [](const ServiceSettings& s) { return s.Profiles[5].AccelerationEnabled == 0; }, true},
    {"XYSensitivityEnabled 2 becomes 0", [](ServiceSettings& s) { s.Profiles[1].XYSensitivityEnabled = 2; },
     [](const ServiceSettings& s) { return s.Profiles[1].XYSensitivityEnabled == 0; }, true},
    {"DPI 6 becomes 0", [](ServiceSettings& s) { s.Profiles[2].DPI = 6; },
     [](const ServiceSettings& s) { return s.Profiles[2].DPI == 0; }, true},
    {"LIFT 0 becomes 5", [](ServiceSettings& s) { s.Profiles[4].LIFT = 0; },
     [](const ServiceSettings& s) { return s.Profiles[4].LIFT == 5; }, true},
    {"LIFT 10 stays", [](ServiceSettings& s) { s.Profiles[4].LIFT = 10; },
     [](const ServiceSettings& s) { return s.Profiles[4].LIFT == 10; }, false},
    {"DPICurrentX 101 becomes 16", [](ServiceSettings& s) { s.Profiles[0].DPICurrentX = 101; },
     [](const ServiceSettings& s) { return s.Profiles[0].DPICurrentX == 16; }, true},
    {"DPICurrentY 0 becomes 16", [](ServiceSettings& s) { s.Profiles[0].DPICurrentY = 0; },
     [](const ServiceSettings& s) { return s.Profiles[0].DPICurrentY == 16; }, true},
    {"DPIStageNum 4 becomes 5", [](ServiceSettings& s) { s.Profiles[0].DPIStageNum = 4; },
     [](const ServiceSettings& s) { return s.Profiles[0].DPIStageNum == 5; }, true},
    {"stage (0, 0, 55) is completed without counting",
     [](ServiceSettings& s) { s.Profiles[5].DPIStageValue[4] = DpiStage{0, 0, 55}; },
     [](const ServiceSettings& s) {
         const DpiStage& d = s.Profiles[5].DPIStageValue[4];
         return d.Enabled == 1 && d.X == 8 && d.Y == 8;
     },
     false},
    {"stage (0, 30, 30) stays", [](ServiceSettings& s) { s.Profiles[5].DPIStageValue[1] = DpiStage{0, 30, 30}; },
     [](const ServiceSettings& s) {
         const DpiStage& d = s.Profiles[5].DPIStageValue[1];
         return d.Enabled == 0 && d.X == 30 && d.Y == 30;
     },
     false},
    {"unset ButtonFunc becomes the button number", [](ServiceSettings& s) { s.Profiles[3].Buttons[9].ButtonFunc = 255; },
     [](const ServiceSettings& s) { return s.Profiles[3].Buttons[9].ButtonFunc == 10; }, false},
};

TEST(SettingsValidation, CorrectsEveryRuleOnEverySlot) {
    for (const auto& c : kCases) {
        ServiceSettings source = samples::DefaultSettings();
        c.change(source);
        ServiceSettings target;
        std::memset(&target, 0xAB, sizeof target);
        EXPECT_EQ(ValidateSettings(target, source), c.countsAsChange) << c.name;
        EXPECT_TRUE(c.check(target)) << c.name;
    }
}

TEST(SettingsValidation, EmptyRecordAfterResetGetsTheDocumentedDefaults) {
    ServiceSettings source;
    std::memset(&source, 0, sizeof source);
    source.Mode = -1;
    ResetSettings(source);
    ServiceSettings target;
    EXPECT_TRUE(ValidateSettings(target, source));
    EXPECT_EQ(target.Profile, 0);
    EXPECT_EQ(target.MouseButtons, 10);
    EXPECT_EQ(target.PollingRate, 2);
    EXPECT_EQ(target.TrayEnabled, 1);
    EXPECT_EQ(target.Mode, -1);
    for (const auto& p : target.Profiles) {
        EXPECT_EQ(p.LIFT, 5);
        EXPECT_EQ(p.DPIStageValue[0].X, 16);
        EXPECT_EQ(p.DPIStageValue[3].Y, 100);
        // ButtonFunc 0 is a set code; only 255 is completed.
        EXPECT_EQ(p.Buttons[0].ButtonFunc, 0);
    }
}

TEST(SettingsValidation, ResetClearsSlotsAndKeepsMouseButtonsAndMode) {
    ServiceSettings s = samples::FullSettings();
    ResetSettings(s);
    EXPECT_EQ(s.MouseButtons, 10);
    EXPECT_EQ(s.Mode, 1);
    EXPECT_EQ(s.Profile, -1);
    EXPECT_EQ(s.TrayEnabled, -1);
    EXPECT_EQ(s.PollingRate, -1);
    ProfileRecord zero;
    std::memset(&zero, 0, sizeof zero);
    for (const auto& p : s.Profiles) EXPECT_EQ(std::memcmp(&p, &zero, sizeof zero), 0);
}

}  // namespace
