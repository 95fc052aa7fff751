// Decoding the read-back slots into DeviceSettingsImage, comparing it with
// the settings and adopting it: only what was read back counts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/ButtonEncoding.h"
#include "app/DeviceImage.h"
#include "device/ButtonTable.h"
#include "tests/support/SettingsSamples.h"

namespace {

struct EntryCase {
    std::uint8_t t, f, c;
    int buttonFunc;
};

TEST(DeviceImageTest, EachRuleOfTheDecodeTable) {
    const EntryCase cases[] = {
        {0x02, 0xF0, 0, 1},     {0x99, 0xF1, 0x55, 3}, {0, 0xF2, 0, 2},       {0, 0xF3, 0, 4},
        {0, 0xF4, 0, 5},        {0, 0xF5, 0, 16},      {0, 0xF6, 0, 17},      {0, 0xF8, 0, 9},
        {0, 0xF9, 0, 10},       {0x71, 5, 0, 63},      {4, 0, 0xF4, 14},      {4, 0, 0xF5, 15},
        {4, 0, 0xCD, 24},       {4, 0, 0xB6, 28},      {4, 0, 0xB5, 27},      {4, 0, 0xE9, 25},
        {4, 0, 0xEA, 26},       {0x73, 0, 1, 34},      {0x73, 0, 2, 35},      {0x73, 0, 3, 36},
        {0x70, 0, 1, 61},       {0x70, 0, 2, 52},      {0x70, 0, 3, 53},      {0x0A, 0, 0xF6, 49},
        {0x0A, 0, 0xFF, 49},    {0x53, 0, 7, 44},      {0x53, 0xF0, 0, 1},  // function rules come first
        {4, 0xF3, 0xCD, 4},     {0x71, 0xF0, 0, 1},
        // nothing applies
        {0, 0, 0, -1},          {0, 0xF7, 0, -1},      {0x71, 6, 0, -1},      {4, 0, 0xE2, -1},
        {0x73, 1, 0, -1},       {0x73, 0, 4, -1},      {0x0A, 0, 0xF5, -1},   {0x72, 0, 1, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeButtonFunction(c.t, c.f, c.c), c.buttonFunc)
            << std::hex << int(c.t) << " " << int(c.f) << " " << int(c.c);
}

TEST(DeviceImageTest, MacroKeyNumberTruncatesTowardZeroAsAByte) {
    EXPECT_EQ(MacroKeyNumber(0), 255);  // (0 - 2) / 2 = -1
    EXPECT_EQ(MacroKeyNumber(1), 0);    // -1 / 2 = 0
    EXPECT_EQ(MacroKeyNumber(2), 0);
    EXPECT_EQ(MacroKeyNumber(3), 0);
    EXPECT_EQ(MacroKeyNumber(4), 1);
    EXPECT_EQ(MacroKeyNumber(255), 126);
}

// Slots with entry j holding (t, f, 0, c) and bulk record j its bytes.
class DecodeTest : public ::testing::Test {
protected:
    void Entry(int slot, int j, std::uint8_t t, std::uint8_t f, std::uint8_t c) {
        auto& bytes = slots.Short[slot];
        bytes[4 * j] = t;
        bytes[4 * j + 1] = f;
        bytes[4 * j + 2] = 0;
        bytes[4 * j + 3] = c;
    }
    void Record(int slot, int j, std::uint16_t id, std::initializer_list<std::uint8_t> data) {
        auto& bytes = slots.Bulk[slot];
        bytes[96 * j] = static_cast<std::uint8_t>(id >> 8);
        bytes[96 * j + 1] = static_cast<std::uint8_t>(id);
        std::size_t i = 96 * j + 2;
        for (std::uint8_t b : data) bytes[i++] = b;
    }
    ServiceSettings Zero() {
        ServiceSettings s;
        std::memset(&s, 0, sizeof s);
        return s;
    }

    ReadBackSlots slots;
    DeviceImageFields fields;
};

TEST_F(DecodeTest, OnlyBytesACompletedCollectionFilledAreDecoded) {
    for (int slot = 0; slot < 3; ++slot)
        for (int j = 0; j < 16; ++j) Entry(slot, j, 0x02, 0xF0, 0);  // every entry: left button
    slots.ShortFilled = {0, 32, 64};
    ServiceSettings image = Zero();
    DecodeDeviceButtons(slots, image, fields);
    for (int j = 0; j < kButtonCount; ++j) {
        SCOPED_TRACE(j);
        EXPECT_FALSE(fields.Buttons[0][j].ButtonFunc) << "slot 0 was not filled";
        // 32 bytes: entries 0 to 7; entry 7 is zeros after the shift.
        EXPECT_EQ(fields.Buttons[1][j].ButtonFunc, j < 7);
        EXPECT_EQ(image.Profiles[1].Buttons[j].ButtonFunc, j < 7 ? 1 : 0);
        EXPECT_EQ(fields.Buttons[2][j].ButtonFunc, j != 7);
    }
    for (int k = 3; k < kProfileCount; ++k)
        for (int j = 0; j < kButtonCount; ++j) EXPECT_FALSE(fields.Buttons[k][j].ButtonFunc);
    EXPECT_FALSE(fields.Profile);
    EXPECT_FALSE(fields.PollingRate);
    for (bool dpi : fields.Dpi) EXPECT_FALSE(dpi);
}

TEST_F(DecodeTest, EntriesFiveAndSixComeFromSixAndSeven) {
    Entry(1, 5, 0x04, 0, 0xCD);
    Entry(1, 6, 0x04, 0, 0xE9);
    Entry(1, 7, 0x04, 0, 0xEA);
    slots.ShortFilled[1] = 64;
    ServiceSettings image = Zero();
    image.Profiles[1].Buttons[7].ButtonFunc = 99;
    DecodeDeviceButtons(slots, image, fields);
    EXPECT_EQ(image.Profiles[1].Buttons[5].ButtonFunc, 25);
    EXPECT_EQ(image.Profiles[1].Buttons[6].ButtonFunc, 26);
    EXPECT_EQ(image.Profiles[1].Buttons[7].ButtonFunc, 99) << "zeros: as it was";
    EXPECT_FALSE(fields.Buttons[1][7].ButtonFunc);
}

TEST_F(DecodeTest, AnEntryNoRuleTakesLeavesTheButtonAndMarksNothing) {
    Entry(2, 0, 0x72, 0x11, 0x22);
    slots.ShortFilled[2] = 64;
    ServiceSettings image = Zero();
    image.Profiles[2].Buttons[0].ButtonFunc = 7;
    DecodeDeviceButtons(slots, image, fields);
    EXPECT_EQ(image.Profiles[2].Buttons[0].ButtonFunc, 7);
    EXPECT_FALSE(fields.Any());
}

TEST_F(DecodeTest, AMacroTakesItsDataFromAFilledBulkRecordOnly) {
    Entry(1, 2, 0x53, 0, 8);  // KeyNumber (8 - 2) / 2 = 3: six bytes
    Entry(1, 3, 0x53, 0, 8);
    Record(1, 2, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8});
    Record(1, 3, 0x5678, {9, 9, 9, 9, 9, 9});
    slots.ShortFilled[1] = 64;
    slots.BulkFilled[1] = 96 * 3;  // records 0 to 2
    ServiceSettings image = Zero();
    DecodeDeviceButtons(slots, image, fields);
    const ButtonAssignment& macro = image.Profiles[1].Buttons[2];
    EXPECT_EQ(macro.ButtonFunc, 44);
    EXPECT_EQ(macro.ButtonID, 0x1234);
    EXPECT_EQ(macro.KeyNumber, 3);
    const std::uint8_t data[8] = {1, 2, 3, 4, 5, 6, 0, 0};
    EXPECT_EQ(std::memcmp(macro.ButtonData, data, 8), 0) << "six bytes, no more";
    EXPECT_TRUE(fields.Buttons[1][2].MacroData);
    EXPECT_EQ(image.Profiles[1].Buttons[3].ButtonFunc, 44);
    EXPECT_TRUE(fields.Buttons[1][3].ButtonFunc);
    EXPECT_FALSE(fields.Buttons[1][3].MacroData) << "record 3 was not filled";
    EXPECT_EQ(image.Profiles[1].Buttons[3].ButtonID, 0);
}

TEST_F(DecodeTest, AMacroLongerThanItsRecordIsNotTakenAndNothingIsReadPastTheSlot) {
    Entry(2, 9, 0x53, 0, 0);    // KeyNumber 255: 240 bytes, more than a record's 94
    Entry(2, 8, 0x53, 0, 96);   // KeyNumber 47: 94 bytes, exactly a record's
    for (int j = 0; j < 16; ++j) Record(2, j, 0x0101, {});
    std::memset(slots.Bulk[2].data() + 96 * 8 + 2, 0xAB, 94);
    slots.ShortFilled[2] = 64;
    slots.BulkFilled[2] = 1536;
    ServiceSettings image = Zero();
    DecodeDeviceButtons(slots, image, fields);
    EXPECT_TRUE(fields.Buttons[2][9].ButtonFunc);
    EXPECT_FALSE(fields.Buttons[2][9].MacroData);
    EXPECT_TRUE(fields.Buttons[2][8].MacroData);
    EXPECT_EQ(image.Profiles[2].Buttons[8].KeyNumber, 47);
    EXPECT_EQ(image.Profiles[2].Buttons[8].ButtonData[93], 0xAB);
    EXPECT_EQ(image.Profiles[2].Buttons[8].ButtonData[94], 0);
}

TEST_F(DecodeTest, EachPassStartsFromNothingRead) {
    Entry(1, 0, 0x02, 0xF0, 0);
    slots.ShortFilled[1] = 32;
    ServiceSettings image = Zero();
    DecodeDeviceButtons(slots, image, fields);
    EXPECT_TRUE(fields.Any());
    slots.ShortFilled[1] = 0;
    DecodeDeviceButtons(slots, image, fields);
    EXPECT_FALSE(fields.Any());
}

// Compare and adopt: every field, read or not.
class CompareAdoptTest : public ::testing::Test {
protected:
    CompareAdoptTest() { image.Profiles[2].Buttons[3].ButtonFunc = 44; }
    ServiceSettings working = samples::FullSettings();
    ServiceSettings image = samples::DefaultSettings();  // differs from working almost everywhere
    DeviceImageFields fields;
};

// Button j of profile k read back: the entry the mouse sent is what the
// service writes for the image's assignment.
void MarkButton(DeviceImageFields& f, const ServiceSettings& image, int k, int j, bool macro) {
    f.Buttons[k][j].ButtonFunc = true;
    f.Buttons[k][j].MacroData = macro;
    f.Buttons[k][j].Entry = EncodeButton(image.Profiles[k].Buttons[j], j);
}

TEST_F(CompareAdoptTest, NothingReadAgreesAndAdoptsNothing) {
    EXPECT_TRUE(CompareDeviceImage(image, fields, working));
    ServiceSettings adopted = working;
    AdoptDeviceImage(image, fields, adopted);
    EXPECT_EQ(std::memcmp(&adopted, &working, sizeof working), 0);
}

TEST_F(CompareAdoptTest, EachReadFieldIsComparedAndAdoptedAlone) {
    struct FieldCase {
        const char* name;
        void (*mark)(DeviceImageFields&, const ServiceSettings& image);
        void (*makeEqual)(ServiceSettings& image, const ServiceSettings& working);
        bool (*adopted)(const ServiceSettings& result, const ServiceSettings& image);
    };
    const FieldCase cases[] = {
        {"Profile", [](DeviceImageFields& f, const ServiceSettings&) { f.Profile = true; },
         [](ServiceSettings& i, const ServiceSettings& w) { i.Profile = w.Profile; },
         [](const ServiceSettings& r, const ServiceSettings& i) { return r.Profile == i.Profile; }},
        {"PollingRate", [](DeviceImageFields& f, const ServiceSettings&) { f.PollingRate = true; },
         [](ServiceSettings& i, const ServiceSettings& w) { i.PollingRate = w.PollingRate; },
         [](const ServiceSettings& r, const ServiceSettings& i) { return r.PollingRate == i.PollingRate; }},
        {"DPI of profile 4", [](DeviceImageFields& f, const ServiceSettings&) { f.Dpi[4] = true; },
         [](ServiceSettings& i, const ServiceSettings& w) { i.Profiles[4].DPI = w.Profiles[4].DPI; },
         [](const ServiceSettings& r, const ServiceSettings& i) {
             return r.Profiles[4].DPI == i.Profiles[4].DPI && r.Profiles[4].XYSensitivityEnabled == 1;
         }},
        // A button is taken whole: its function, with ButtonID and
        // KeyNumber 0 for a function without a macro.
        {"button 1/6", [](DeviceImageFields& f, const ServiceSettings& i) { MarkButton(f, i, 1, 6, false); },
         [](ServiceSettings& i, const ServiceSettings& w) {
             ButtonAssignment& to = i.Profiles[1].Buttons[6];
             to.ButtonFunc = w.Profiles[1].Buttons[6].ButtonFunc;
             to.ButtonID = w.Profiles[1].Buttons[6].ButtonID;
             to.KeyNumber = w.Profiles[1].Buttons[6].KeyNumber;
         },
         [](const ServiceSettings& r, const ServiceSettings& i) {
             const ButtonAssignment& a = r.Profiles[1].Buttons[6];
             return a.ButtonFunc == i.Profiles[1].Buttons[6].ButtonFunc && a.ButtonID == 0 && a.KeyNumber == 0;
         }},
        // A macro button: its function with the macro's data.
        {"macro of 2/3", [](DeviceImageFields& f, const ServiceSettings& i) { MarkButton(f, i, 2, 3, true); },
         [](ServiceSettings& i, const ServiceSettings& w) {
             const ButtonAssignment& from = w.Profiles[2].Buttons[3];
             ButtonAssignment& to = i.Profiles[2].Buttons[3];
             to.ButtonFunc = from.ButtonFunc;
             to.ButtonID = from.ButtonID;
             to.KeyNumber = from.KeyNumber;
             std::memcpy(to.ButtonData, from.ButtonData, sizeof to.ButtonData);
         },
         [](const ServiceSettings& r, const ServiceSettings& i) {
             const ButtonAssignment& a = r.Profiles[2].Buttons[3];
             const ButtonAssignment& b = i.Profiles[2].Buttons[3];
             return a.ButtonID == b.ButtonID && a.KeyNumber == b.KeyNumber &&
                    std::memcmp(a.ButtonData, b.ButtonData, std::min<std::size_t>(b.KeyNumber * 2u, 240)) == 0;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceImageFields one;
        c.mark(one, image);
        EXPECT_FALSE(CompareDeviceImage(image, one, working)) << "differs in that field";

        ServiceSettings result = working;
        AdoptDeviceImage(image, one, result);
        EXPECT_TRUE(c.adopted(result, image));
        EXPECT_TRUE(CompareDeviceImage(image, one, result)) << "agrees once adopted";
        // Everything else is as it was.
        ServiceSettings undone = result;
        c.makeEqual(undone, working);
        if (std::string(c.name) == "button 1/6") {
            undone.Profiles[1].Buttons[6].ButtonID = working.Profiles[1].Buttons[6].ButtonID;
            undone.Profiles[1].Buttons[6].KeyNumber = working.Profiles[1].Buttons[6].KeyNumber;
        }
        if (std::string(c.name) == "DPI of profile 4") undone.Profiles[4].XYSensitivityEnabled = working.Profiles[4].XYSensitivityEnabled;
        if (std::string(c.name) == "macro of 2/3") {
            ButtonAssignment& b = undone.Profiles[2].Buttons[3];
            std::memcpy(b.ButtonData, working.Profiles[2].Buttons[3].ButtonData, sizeof b.ButtonData);
        }
        EXPECT_EQ(std::memcmp(&undone, &working, sizeof working), 0);

        ServiceSettings same = image;
        c.makeEqual(same, working);
        DeviceImageFields sameRead;
        c.mark(sameRead, same);  // the mouse sends what the service writes for the settings
        EXPECT_TRUE(CompareDeviceImage(same, sameRead, working));
    }
}

TEST_F(CompareAdoptTest, AMacrosDataIsClearedOverItsLengthThenCopiedAndTheRestKept) {
    ButtonAssignment& from = image.Profiles[0].Buttons[0];
    from.ButtonFunc = 44;
    MarkButton(fields, image, 0, 0, true);
    from.KeyNumber = 2;
    std::memset(from.ButtonData, 0, sizeof from.ButtonData);
    const std::uint8_t data[4] = {0x81, 0x02, 0x04, 0x00};
    std::memcpy(from.ButtonData, data, 4);
    from.ButtonData[10] = 0x77;  // past its length: never taken
    ButtonAssignment& to = working.Profiles[0].Buttons[0];
    std::memset(to.ButtonData, 0x55, sizeof to.ButtonData);
    AdoptDeviceImage(image, fields, working);
    EXPECT_EQ(std::memcmp(to.ButtonData, data, 4), 0);
    EXPECT_EQ(to.ButtonData[4], 0x55);
    EXPECT_EQ(to.ButtonData[10], 0x55);
    EXPECT_EQ(to.KeyNumber, 2);
}

TEST_F(CompareAdoptTest, ComparedDataEndsAtTheMacrosLength) {
    fields.Buttons[0][0].MacroData = true;
    ButtonAssignment& a = image.Profiles[0].Buttons[0];
    ButtonAssignment& b = working.Profiles[0].Buttons[0];
    a = b;
    a.KeyNumber = b.KeyNumber = 1;
    a.ButtonData[2] = static_cast<std::uint8_t>(b.ButtonData[2] + 1);
    EXPECT_TRUE(CompareDeviceImage(image, fields, working));
    a.ButtonData[1] = static_cast<std::uint8_t>(b.ButtonData[1] + 1);
    EXPECT_FALSE(CompareDeviceImage(image, fields, working));
}

// The mouse reports the table the service wrote: button j's code in entry j
// for j < 5 and in entry j + 1 for buttons 5 and 6 (the layout the decode
// reads; entry 5 is not a button's).
ReadBackSlots MouseReports(const ProfileRecord& written, int slot) {
    const ButtonTableImage table = BuildButtonTable(written);
    ReadBackSlots slots;
    for (int j = 0; j < 7; ++j) {
        const int entry = j < 5 ? j : j + 1;
        std::memcpy(slots.Short[slot].data() + 4 * entry, table.Table.data() + 4 * j, 4);
    }
    slots.ShortFilled[slot] = 32;
    return slots;
}

// A macro the service wrote, read back with its data: the entry's code byte
// holds the button's index (written so), not the macro's length, so the
// KeyNumber it decodes to is not the stored one; the macro still compares
// equal over the bytes the mouse sent, and nothing is adopted.
TEST(AdoptionPropertyTest, AMacroTheServiceWroteReadsBackTheSameWithItsData) {
    for (int j : {2, 4, 6}) {
        SCOPED_TRACE(j);
        ServiceSettings working = samples::FullSettings();
        // The other buttons hold no macro: their records are empty here.
        for (ButtonAssignment& other : working.Profiles[1].Buttons)
            other.ButtonFunc = FunctionByte(ButtonFunctionCode::RightButton);
        ButtonAssignment& macro = working.Profiles[1].Buttons[j];
        macro.ButtonFunc = FunctionByte(ButtonFunctionCode::Macro);
        macro.ButtonID = 0x0102;
        macro.KeyNumber = 6;
        const std::uint8_t events[] = {0x84, 1, 0x04, 0x04, 1, 0x04, 0x85, 0, 0x05};
        std::memset(macro.ButtonData, 0, sizeof macro.ButtonData);
        std::memcpy(macro.ButtonData, events, sizeof events);
        ReadBackSlots slots = MouseReports(working.Profiles[1], 1);
        // Bulk record j: ButtonID, then the macro's bytes.
        std::uint8_t* record = slots.Bulk[1].data() + j * kBulkRecordSize;
        record[0] = 0x01;
        record[1] = 0x02;
        std::memcpy(record + kBulkRecordDataOffset, events, sizeof events);
        slots.BulkFilled[1] = kBulkSlotSize;
        ServiceSettings image = samples::DefaultSettings();
        DeviceImageFields fields;
        DecodeDeviceButtons(slots, image, fields);
        ASSERT_TRUE(fields.Buttons[1][j].MacroData) << "the macro's data was read";
        EXPECT_NE(image.Profiles[1].Buttons[j].KeyNumber, macro.KeyNumber);
        EXPECT_TRUE(CompareDeviceImage(image, fields, working));
        EXPECT_TRUE(ListButtonDifferences(image, fields, working).empty());
        ServiceSettings adopted = working;
        AdoptDeviceImage(image, fields, adopted);
        EXPECT_EQ(std::memcmp(&adopted, &working, sizeof working), 0);
    }
}

// For every function code and every assignment of it the service can hold,
// reading back what the service wrote finds nothing to report and nothing
// to adopt. Alongside, the codes whose written bytes decode as another
// function (or as none): the tables disagree there, and only the encoding
// keeps those buttons as they are.
TEST(AdoptionPropertyTest, ReadingBackWhatTheServiceWroteChangesNothing) {
    const std::uint8_t keyNumbers[] = {0, 1, 4, 0x28, 0xF0, 0xF8, 0xFF};
    const std::uint16_t buttonIds[] = {0, 1, 3, 0xFFFE, 0xFFFF};
    std::vector<std::string> disagree;
    for (int function = 0; function < 256; ++function) {
        std::string decodedAs;
        for (int j = 0; j < 7; ++j) {
            for (std::uint8_t keyNumber : keyNumbers) {
                for (std::uint16_t buttonId : buttonIds) {
                    ServiceSettings working = samples::FullSettings();
                    ButtonAssignment& button = working.Profiles[1].Buttons[j];
                    button.ButtonFunc = static_cast<std::uint8_t>(function);
                    button.KeyNumber = keyNumber;
                    button.ButtonID = buttonId;
                    const ReadBackSlots slots = MouseReports(working.Profiles[1], 1);
                    ServiceSettings image = samples::DefaultSettings();
                    DeviceImageFields fields;
                    DecodeDeviceButtons(slots, image, fields);
                    ASSERT_TRUE(CompareDeviceImage(image, fields, working))
                        << "function " << function << " button " << j << " key " << int(keyNumber) << " id "
                        << buttonId;
                    ServiceSettings adopted = working;
                    AdoptDeviceImage(image, fields, adopted);
                    ASSERT_EQ(std::memcmp(&adopted, &working, sizeof working), 0)
                        << "function " << function << " button " << j;
                    if (j == 0 && keyNumber == 0 && buttonId == 0) {
                        const ButtonFieldsRead& read = fields.Buttons[1][0];
                        const int decoded = read.ButtonFunc ? image.Profiles[1].Buttons[0].ButtonFunc : -1;
                        if (decoded != function)
                            decodedAs = std::to_string(function) + "->" +
                                        (decoded < 0 ? std::string("none") : std::to_string(decoded));
                    }
                }
            }
        }
        bool listed = false;
        for (const auto& row : kButtonCodeRows)
            listed = listed || (row.Fill != CodeFill::NotWritten && FunctionByte(row.Function) == function);
        if (!decodedAs.empty() && listed) disagree.push_back(decodedAs);
    }
    // Codes of the write table whose bytes decode otherwise.
    std::string all;
    for (const auto& d : disagree) all += d + " ";
    EXPECT_EQ(disagree, (std::vector<std::string>{"4->9",   "5->10",   "6->none",  "7->none",  "8->none",  "9->5",
                                                 "10->4",  "11->none", "29->1",    "30->63",   "34->none", "35->none",
                                                 "36->none", "37->none", "38->none", "39->none", "47->none", "49->none",
                                                 "52->none", "53->none", "54->none", "55->none", "56->none", "61->none",
                                                 "62->44", "63->1",    "64->none", "71->none", "72->none", "73->44"}))
        << all;
}

// The mouse holds a table that differs from the settings in one button: a
// function the service can write back as the mouse holds it is taken whole;
// one it cannot (the decode names another function's code) or a macro whose
// data was not read is not taken at all.
TEST(AdoptionPropertyTest, ADifferingButtonIsTakenWholeOrNotAtAll) {
    struct Case {
        const char* name;
        std::uint8_t mouseHolds;  // what the mouse's button 2 was written with
        int adopted;              // the function adopted, -1: nothing
    };
    const Case cases[] = {
        {"mouse button", 3, 3},         {"media key", 26, 26},       {"consumer next", 27, 27},
        {"written F8, decodes as 9", 4, -1}, {"written F3, decodes as 4", 10, -1},
        {"resolution 71 05, decodes as 63", 30, -1}, {"MacroOnce without its data", 73, -1},
        {"macro without its data", 44, -1}, {"no rule", 47, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServiceSettings working = samples::FullSettings();
        ButtonAssignment& stored = working.Profiles[1].Buttons[2];
        stored.ButtonFunc = 2;
        stored.ButtonID = 7;
        stored.KeyNumber = 12;
        ProfileRecord mouse = working.Profiles[1];
        mouse.Buttons[2].ButtonFunc = c.mouseHolds;
        const ReadBackSlots slots = MouseReports(mouse, 1);
        ServiceSettings image = samples::DefaultSettings();
        DeviceImageFields fields;
        DecodeDeviceButtons(slots, image, fields);
        if (fields.Buttons[1][2].ButtonFunc) {
            EXPECT_FALSE(CompareDeviceImage(image, fields, working)) << "reported";
        }
        ServiceSettings adopted = working;
        AdoptDeviceImage(image, fields, adopted);
        ButtonAssignment expected = stored;
        if (c.adopted >= 0) {
            expected.ButtonFunc = static_cast<std::uint8_t>(c.adopted);
            expected.ButtonID = 0;
            expected.KeyNumber = 0;
        }
        ServiceSettings want = working;
        want.Profiles[1].Buttons[2] = expected;
        EXPECT_EQ(std::memcmp(&adopted, &want, sizeof want), 0)
            << "func " << int(adopted.Profiles[1].Buttons[2].ButtonFunc) << " id "
            << adopted.Profiles[1].Buttons[2].ButtonID << " key " << int(adopted.Profiles[1].Buttons[2].KeyNumber);
    }
}

TEST_F(CompareAdoptTest, TheDifferencesListNamesEachDifferingButtonReadBack) {
    struct DifferenceCase {
        const char* name;
        void (*mark)(DeviceImageFields&, ServiceSettings& image, const ServiceSettings& working);
        std::vector<std::string> expected;  // "profile/button stored read macro"
    };
    const DifferenceCase cases[] = {
        {"nothing read", [](DeviceImageFields&, ServiceSettings&, const ServiceSettings&) {}, {}},
        {"one function read, differing",
         [](DeviceImageFields& f, ServiceSettings& i, const ServiceSettings&) {
             f.Buttons[1][6].ButtonFunc = true;
             i.Profiles[1].Buttons[6].ButtonFunc = 9;
         },
         {"1/6 stored=W read=9 macro=0"}},
        {"one function read, agreeing",
         [](DeviceImageFields& f, ServiceSettings& i, const ServiceSettings& w) {
             f.Buttons[1][6].ButtonFunc = true;
             i.Profiles[1].Buttons[6].ButtonFunc = w.Profiles[1].Buttons[6].ButtonFunc;
         },
         {}},
        {"a function differing where nothing was read",
         [](DeviceImageFields&, ServiceSettings& i, const ServiceSettings&) { i.Profiles[0].Buttons[0].ButtonFunc = 77; },
         {}},
        {"a macro's data differing, its function agreeing, and a second button",
         [](DeviceImageFields& f, ServiceSettings& i, const ServiceSettings& w) {
             f.Buttons[2][3].ButtonFunc = true;
             f.Buttons[2][3].MacroData = true;
             i.Profiles[2].Buttons[3] = w.Profiles[2].Buttons[3];
             i.Profiles[2].Buttons[3].ButtonID = static_cast<std::int32_t>(w.Profiles[2].Buttons[3].ButtonID + 1);
             f.Buttons[0][9].ButtonFunc = true;
             i.Profiles[0].Buttons[9].ButtonFunc = 4;
         },
         {"0/9 stored=W read=4 macro=0", "2/3 stored=W read=W macro=1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceImageFields f;
        ServiceSettings i = image;
        c.mark(f, i, working);
        // The mouse holds, for each entry read, the code of what it reports.
        for (int k = 0; k < kProfileCount; ++k)
            for (int j = 0; j < kButtonCount; ++j)
                if (f.Buttons[k][j].ButtonFunc) f.Buttons[k][j].Entry = EncodeButton(i.Profiles[k].Buttons[j], j);
        std::vector<std::string> listed;
        for (const ButtonDifference& d : ListButtonDifferences(i, f, working)) {
            const auto& stored = working.Profiles[d.Profile].Buttons[d.Button].ButtonFunc;
            EXPECT_EQ(d.StoredFunc, stored);
            // "W" stands for the working settings' own function.
            const std::string storedText = "W";
            const std::string readText = d.ReadFunc == stored ? "W" : std::to_string(d.ReadFunc);
            listed.push_back(std::to_string(d.Profile) + "/" + std::to_string(d.Button) + " stored=" + storedText +
                             " read=" + readText + " macro=" + (d.MacroDiffers ? "1" : "0"));
        }
        EXPECT_EQ(listed, c.expected);
        EXPECT_EQ(CompareDeviceImage(i, f, working), c.expected.empty());
    }
}

}  // namespace
