// What the read-back chain gathers out of the mouse, and the three plain
// operations on it: decoding the raw slots into DeviceSettingsImage,
// comparing the image with WorkingSettings, and adopting it. The mouse
// reports only part of a profile (some buttons, no report rate, no active
// profile, no resolution stages), so every field of the image that was read
// back is tracked, and only those fields are compared and adopted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/SettingsRecords.h"
#include "contract/ButtonCodes.h"
#include "contract/Report.h"

constexpr int kReadBackSlotCount = 3;          // short and bulk slots 0 to 2
constexpr std::size_t kShortSlotSize = kReadBackBlockSize;  // sixteen button entries
constexpr std::size_t kShortEntrySize = kReadBackEntrySize;
constexpr std::size_t kBulkSlotSize = kBulkReadBackSize;    // sixteen button records

// The raw data of the chain, and how much of each slot a completed
// collection filled (bytes from the slot's start; 0: nothing read).
struct ReadBackSlots {
    std::array<std::array<std::uint8_t, kShortSlotSize>, kReadBackSlotCount> Short{};
    std::array<std::array<std::uint8_t, kBulkSlotSize>, kReadBackSlotCount> Bulk{};
    std::array<std::size_t, kReadBackSlotCount> ShortFilled{};
    std::array<std::size_t, kReadBackSlotCount> BulkFilled{};
};

struct ButtonFieldsRead {
    bool ButtonFunc = false;
    // The short entry ButtonFunc was decoded from, as the mouse sent it.
    std::array<std::uint8_t, 4> Entry{};
    // The macro data: ButtonID, KeyNumber and the first KeyNumber x 2 bytes
    // of ButtonData, read together from one bulk record or not at all.
    bool MacroData = false;
};

// Which fields of DeviceSettingsImage hold what the mouse reported.
struct DeviceImageFields {
    bool Profile = false;
    bool PollingRate = false;
    std::array<bool, kProfileCount> Dpi{};
    std::array<std::array<ButtonFieldsRead, kButtonCount>, kProfileCount> Buttons{};

    bool Any() const;
};

// ButtonFunc for one entry: DecodeButtonFunction (contract/ButtonCodes.h).
// KeyNumber of a macro entry: (c - 2) / 2, truncating toward zero, as a byte.
std::uint8_t MacroKeyNumber(std::uint8_t code);

// Decodes profiles 0 to 2 of `image` from their short and bulk slots, only
// from bytes a completed collection filled; `fields` is set afresh to what
// this pass read. Profiles 3 to 5 have no slots and are never read.
void DecodeDeviceButtons(const ReadBackSlots& slots, ServiceSettings& image, DeviceImageFields& fields);

// True when every field read back agrees with `working` (true when nothing
// was read). Compared in order: Profile, PollingRate, then per profile DPI
// and per button. A button is compared in the mouse's own encoding: its
// entry against the code the service writes for the stored assignment, and
// for a macro whose data was read, ButtonID, KeyNumber and ButtonData too.
// (The write and decode tables disagree for many functions: F8 is written
// for 4 and decodes as 9, so comparing decoded functions would report, and
// adopt, a change the mouse never had.)
bool CompareDeviceImage(const ServiceSettings& image, const DeviceImageFields& fields,
                        const ServiceSettings& working);

// One button whose fields read back differ from the settings: its function
// as stored and as read, and whether the macro data differ too.
struct ButtonDifference {
    int Profile;
    int Button;
    std::uint8_t StoredFunc;
    std::uint8_t ReadFunc;
    bool MacroDiffers;
};

// Every button read back that differs from `working`, by profile and button
// (the same fields CompareDeviceImage looks at).
std::vector<ButtonDifference> ListButtonDifferences(const ServiceSettings& image, const DeviceImageFields& fields,
                                                   const ServiceSettings& working);

// Copies the fields read back into `working`; every other field keeps its
// value. A profile whose DPI was read also gets XYSensitivityEnabled 1.
// A button that differs in the mouse is taken as a whole assignment or not
// at all: its decoded function with ButtonID and KeyNumber (0 for functions
// without a macro) and, for a macro, the macro's data (cleared over its
// length, then copied); not at all when a macro's data was not read, or when
// the service would not write the assignment back as the mouse holds it
// (the decode table names a function whose code is another). Its name, path
// and repeat type stay.
void AdoptDeviceImage(const ServiceSettings& image, const DeviceImageFields& fields, ServiceSettings& working);
