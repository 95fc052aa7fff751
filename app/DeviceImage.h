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

#include "config/SettingsRecords.h"

constexpr int kReadBackSlotCount = 3;          // short and bulk slots 0 to 2
constexpr std::size_t kShortSlotSize = 64;     // sixteen 4-byte button entries
constexpr std::size_t kShortEntrySize = 4;
constexpr std::size_t kBulkSlotSize = 1536;    // sixteen 96-byte button records
constexpr std::size_t kBulkRecordSize = 96;
constexpr std::size_t kBulkRecordDataOffset = 2;  // after the two ButtonID bytes

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

// --- the decode table: one short entry (type, function, code) ---
enum class EntryMatch : std::uint8_t {
    Function,        // f equals
    TypeAndFunction, // t and f equal
    TypeAndCode,     // t and c equal
    TypeAndCodeFrom, // t equals and c at least
    Type             // t equals
};

struct ButtonDecodeRule {
    EntryMatch Match;
    std::uint8_t Type;
    std::uint8_t Value;  // f or c, as the match says
    std::uint8_t ButtonFunc;
};

constexpr std::uint8_t kMacroEntryType = 0x53;
constexpr std::uint8_t kMacroButtonFunc = 44;

// In order: the first rule that applies decides.
constexpr ButtonDecodeRule kButtonDecodeRules[] = {
    {EntryMatch::Function, 0, 0xF0, 1},
    {EntryMatch::Function, 0, 0xF1, 3},
    {EntryMatch::Function, 0, 0xF2, 2},
    {EntryMatch::Function, 0, 0xF3, 4},
    {EntryMatch::Function, 0, 0xF4, 5},
    {EntryMatch::Function, 0, 0xF5, 16},
    {EntryMatch::Function, 0, 0xF6, 17},
    {EntryMatch::Function, 0, 0xF8, 9},
    {EntryMatch::Function, 0, 0xF9, 10},
    {EntryMatch::TypeAndFunction, 0x71, 5, 63},
    {EntryMatch::TypeAndCode, 4, 0xF4, 14},
    {EntryMatch::TypeAndCode, 4, 0xF5, 15},
    {EntryMatch::TypeAndCode, 4, 0xCD, 24},
    {EntryMatch::TypeAndCode, 4, 0xB6, 28},
    {EntryMatch::TypeAndCode, 4, 0xB5, 27},
    {EntryMatch::TypeAndCode, 4, 0xE9, 25},
    {EntryMatch::TypeAndCode, 4, 0xEA, 26},
    {EntryMatch::TypeAndCode, 0x73, 1, 34},
    {EntryMatch::TypeAndCode, 0x73, 2, 35},
    {EntryMatch::TypeAndCode, 0x73, 3, 36},
    {EntryMatch::TypeAndCode, 0x70, 1, 61},
    {EntryMatch::TypeAndCode, 0x70, 2, 52},
    {EntryMatch::TypeAndCode, 0x70, 3, 53},
    {EntryMatch::TypeAndCodeFrom, 0x0A, 0xF6, 49},
    {EntryMatch::Type, kMacroEntryType, 0, kMacroButtonFunc},
};

// ButtonFunc for one entry; -1 when no rule applies (the button stays as it
// was and nothing counts as read).
int DecodeButtonFunction(std::uint8_t type, std::uint8_t function, std::uint8_t code);
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
