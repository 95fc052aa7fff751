// The user's settings as the service holds them in memory. The layouts are
// fixed: the resolution stages and the button data are stored in the settings
// file byte for byte, and the button data travels into the mouse.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kProfileCount = 6;
constexpr int kButtonCount = 10;
// A button number from a report or a message names one of the buttons.
constexpr bool IsButtonIndex(int button) { return button >= 0 && button < kButtonCount; }
constexpr int kStageCount = 5;
constexpr std::size_t kButtonDataSize = 240;
constexpr std::size_t kMacroEventSize = 3;
constexpr std::size_t kMaxMacroEvents = kButtonDataSize / kMacroEventSize;  // 80
constexpr std::size_t kNameLength = 260;       // units, terminator included
constexpr std::size_t kLaunchLength = 260;
constexpr std::size_t kPathLength = 260;
constexpr std::size_t kMacroNameLength = 50;

// One resolution stage: 12 bytes, little-endian, stage n at byte 12 * n.
struct DpiStage {
    std::int32_t Enabled;  // 1 = stage in use, 0 = skipped
    std::int32_t X;        // horizontal resolution, in the mouse's resolution steps
    std::int32_t Y;        // vertical resolution, same unit
};
static_assert(sizeof(DpiStage) == 12, "DpiStage is stored byte for byte");

// One recorded macro event: 3 bytes inside ButtonData.
struct MacroEvent {
    std::uint8_t Bytes[kMacroEventSize];

    bool IsPress() const { return (Bytes[0] & 0x80) != 0; }
    // Delay after the event, in 20 ms units (15 bits).
    std::uint16_t Delay() const {
        return static_cast<std::uint16_t>(((Bytes[0] & 0x7F) << 8) | Bytes[1]);
    }
    std::uint8_t Key() const { return Bytes[2]; }
};
static_assert(sizeof(MacroEvent) == 3, "MacroEvent is 3 bytes");

struct ButtonAssignment {
    std::int32_t ButtonID;
    std::uint8_t ButtonFunc;   // function code; 255 = not set
    std::uint8_t KeyNumber;    // key code, or the macro length in ButtonData
    std::uint8_t ButtonData[kButtonDataSize];  // MacroRecord of the macro functions
    char16_t MacroName[kMacroNameLength];
    char16_t Path[kPathLength];
    std::uint8_t RepeatType;
};

struct ProfileRecord {
    std::int32_t UniversalScrollEnabled;
    std::int32_t AccelerationEnabled;
    std::int32_t XYSensitivityEnabled;
    std::int32_t LIFT;
    std::int32_t DPI;
    std::int32_t DPICurrentX;
    std::int32_t DPICurrentY;
    std::int32_t LEDLogoEnable;
    std::int32_t DPIStageNum;
    DpiStage DPIStageValue[kStageCount];
    char16_t Name[kNameLength];
    char16_t Launch[kLaunchLength];
    ButtonAssignment Buttons[kButtonCount];
};
static_assert(sizeof(ProfileRecord::DPIStageValue) == 60, "the stage block is 60 bytes");

struct ServiceSettings {
    std::int32_t MouseButtons;
    std::int32_t Profile;
    std::int32_t PollingRate;
    std::int32_t TrayEnabled;
    std::int32_t Mode;
    ProfileRecord Profiles[kProfileCount];
};
