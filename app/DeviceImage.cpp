#include "app/DeviceImage.h"

#include "app/ButtonEncoding.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kEntriesPerSlot = kShortSlotSize / kShortEntrySize;
static_assert(kEntriesPerSlot * kShortEntrySize == kShortSlotSize, "sixteen entries");
static_assert(kBulkSlotSize / kBulkRecordSize == kEntriesPerSlot, "one bulk record per entry");
static_assert(kButtonCount <= static_cast<int>(kEntriesPerSlot), "a slot holds every button");

// Where the bytes of entry j come from after the shift: entry 5 takes entry
// 6's, entry 6 entry 7's, and entry 7 is four zero bytes (no source).
constexpr int kNoSource = -1;
constexpr int EntrySource(int j) {
    return j == 5 ? 6 : j == 6 ? 7 : j == 7 ? kNoSource : j;
}

std::size_t MacroDataLength(std::uint8_t keyNumber) {
    return std::min<std::size_t>(static_cast<std::size_t>(keyNumber) * 2, kButtonDataSize);
}

}  // namespace

bool DeviceImageFields::Any() const {
    if (Profile || PollingRate) return true;
    for (int k = 0; k < kProfileCount; ++k) {
        if (Dpi[k]) return true;
        for (const auto& button : Buttons[k])
            if (button.ButtonFunc || button.MacroData) return true;
    }
    return false;
}

std::uint8_t MacroKeyNumber(std::uint8_t code) {
    return static_cast<std::uint8_t>((static_cast<int>(code) - 2) / 2);
}

void DecodeDeviceButtons(const ReadBackSlots& slots, ServiceSettings& image, DeviceImageFields& fields) {
    fields = DeviceImageFields{};
    for (int k = 0; k < kReadBackSlotCount && k < kProfileCount; ++k) {
        const auto& entries = slots.Short[k];
        const std::size_t filled = std::min(slots.ShortFilled[k], kShortSlotSize);
        const auto& records = slots.Bulk[k];
        const std::size_t bulkFilled = std::min(slots.BulkFilled[k], kBulkSlotSize);
        for (int j = 0; j < kButtonCount; ++j) {
            const int source = EntrySource(j);
            if (source == kNoSource) continue;  // four zero bytes: no rule applies
            const std::size_t at = static_cast<std::size_t>(source) * kShortEntrySize;
            if (at + kShortEntrySize > filled) continue;  // not read
            const std::uint8_t t = entries[at];
            const std::uint8_t f = entries[at + 1];
            const std::uint8_t c = entries[at + 3];
            const int function = DecodeButtonFunction(t, f, c);
            if (function < 0) continue;
            ButtonAssignment& button = image.Profiles[k].Buttons[j];
            button.ButtonFunc = static_cast<std::uint8_t>(function);
            fields.Buttons[k][j].ButtonFunc = true;
            for (std::size_t b = 0; b < kShortEntrySize; ++b) fields.Buttons[k][j].Entry[b] = entries[at + b];
            if (function != FunctionByte(ButtonFunctionCode::Macro)) continue;

            // The macro data lies in bulk record j; it counts only when the
            // record was filled as far as the macro reaches.
            const std::uint8_t keyNumber = MacroKeyNumber(c);
            const std::size_t length = MacroDataLength(keyNumber);
            const std::size_t record = static_cast<std::size_t>(j) * kBulkRecordSize;
            if (kBulkRecordDataOffset + length > kBulkRecordSize) continue;  // longer than a record holds
            if (record + kBulkRecordDataOffset + length > bulkFilled) continue;
            button.ButtonID = records[record] * 256 + records[record + 1];
            button.KeyNumber = keyNumber;
            std::memcpy(button.ButtonData, records.data() + record + kBulkRecordDataOffset, length);
            fields.Buttons[k][j].MacroData = true;
        }
    }
}

namespace {

// The macro the mouse sent (`read`) against the stored one, over the bytes
// the mouse sent. Its KeyNumber is not compared: it comes from the entry's
// code byte, where the service writes the button's index, so a macro the
// service wrote never reads back with its own KeyNumber.
bool SameMacro(const ButtonAssignment& read, const ButtonAssignment& stored) {
    return read.ButtonID == stored.ButtonID &&
           std::memcmp(read.ButtonData, stored.ButtonData, MacroDataLength(read.KeyNumber)) == 0;
}

// Whether button j as the mouse reported it (`read`, decoded into `mine`)
// is what the service holds in `theirs`.
bool SameInMouse(const ButtonFieldsRead& read, const ButtonAssignment& mine, const ButtonAssignment& theirs, int j) {
    if (read.ButtonFunc && !EncodesAs(theirs, j, read.Entry)) return false;
    return !read.MacroData || SameMacro(mine, theirs);
}

}  // namespace

bool CompareDeviceImage(const ServiceSettings& image, const DeviceImageFields& fields,
                        const ServiceSettings& working) {
    if (fields.Profile && image.Profile != working.Profile) return false;
    if (fields.PollingRate && image.PollingRate != working.PollingRate) return false;
    for (int k = 0; k < kProfileCount; ++k) {
        const ProfileRecord& mine = image.Profiles[k];
        const ProfileRecord& theirs = working.Profiles[k];
        if (fields.Dpi[k] && mine.DPI != theirs.DPI) return false;
        for (int j = 0; j < kButtonCount; ++j)
            if (!SameInMouse(fields.Buttons[k][j], mine.Buttons[j], theirs.Buttons[j], j)) return false;
    }
    return true;
}

std::vector<ButtonDifference> ListButtonDifferences(const ServiceSettings& image, const DeviceImageFields& fields,
                                                   const ServiceSettings& working) {
    std::vector<ButtonDifference> differences;
    for (int k = 0; k < kProfileCount; ++k) {
        for (int j = 0; j < kButtonCount; ++j) {
            const ButtonAssignment& read = image.Profiles[k].Buttons[j];
            const ButtonAssignment& stored = working.Profiles[k].Buttons[j];
            const ButtonFieldsRead& which = fields.Buttons[k][j];
            // Compared as the mouse holds it, as CompareDeviceImage does.
            const bool funcDiffers = which.ButtonFunc && !EncodesAs(stored, j, which.Entry);
            const bool macroDiffers = which.MacroData && !SameMacro(read, stored);
            if (funcDiffers || macroDiffers)
                differences.push_back({k, j, stored.ButtonFunc, read.ButtonFunc, macroDiffers});
        }
    }
    return differences;
}

void AdoptDeviceImage(const ServiceSettings& image, const DeviceImageFields& fields, ServiceSettings& working) {
    if (fields.Profile) working.Profile = image.Profile;
    if (fields.PollingRate) working.PollingRate = image.PollingRate;
    for (int k = 0; k < kProfileCount; ++k) {
        const ProfileRecord& from = image.Profiles[k];
        ProfileRecord& to = working.Profiles[k];
        if (fields.Dpi[k]) {
            to.DPI = from.DPI;
            to.XYSensitivityEnabled = 1;
        }
        for (int j = 0; j < kButtonCount; ++j) {
            const ButtonAssignment& a = from.Buttons[j];
            const ButtonFieldsRead& read = fields.Buttons[k][j];
            // Only a button whose entry was read can be taken, and only when
            // it differs from what the service would write.
            if (!read.ButtonFunc || SameInMouse(read, a, to.Buttons[j], j)) continue;
            ButtonAssignment whole = to.Buttons[j];
            whole.ButtonFunc = a.ButtonFunc;
            if (HasMacroBlock(a.ButtonFunc)) {
                if (!read.MacroData) continue;  // the function without its macro: not at all
                whole.ButtonID = a.ButtonID;
                whole.KeyNumber = a.KeyNumber;
                const std::size_t length = MacroDataLength(a.KeyNumber);
                std::memset(whole.ButtonData, 0, length);
                std::memcpy(whole.ButtonData, a.ButtonData, length);
            } else {
                whole.ButtonID = 0;
                whole.KeyNumber = 0;
            }
            // Written back, it must give the mouse the bytes it holds.
            if (!EncodesAs(whole, j, read.Entry)) continue;
            to.Buttons[j] = whole;
        }
    }
}
