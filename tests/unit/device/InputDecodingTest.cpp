// Input reports into actions: the decoding table.
#include <gtest/gtest.h>

#include <vector>

#include "device/InputDecoding.h"

namespace {

using A = InputAction;

struct DecodeCase {
    const char* name;
    std::vector<std::uint8_t> report;
    std::vector<RoutedAction> actions;
};

TEST(InputDecodingTest, ReportsDecodeToTheirActions) {
    const int L = 5;
    const DecodeCase cases[] = {
        {"press 3, any byte 3", {0, 7, 0x42, 0x9C, 3, 1, 0, 0, 0}, {{A::ButtonPressed, 3}}},
        {"release 3", {0, 7, 0x42, 0x01, 3, 0, 0, 0, 0}, {{A::ButtonReleased, 3}, {A::ReleaseLogged, 0}}},
        {"press 8 releases at once", {0, 7, 0x42, 0, 8, 1, 0, 0, 0},
         {{A::ButtonPressed, 8}, {A::ButtonReleased, 8}}},
        {"press 9 releases at once", {0, 7, 0x42, 0, 9, 1, 0, 0, 0},
         {{A::ButtonPressed, 9}, {A::ButtonReleased, 9}}},
        {"press 0", {0, 7, 0x42, 0, 0, 1, 0, 0, 0}, {{A::ButtonPressed, 0}}},
        {"index 10 is not a button", {0, 7, 0x42, 0, 10, 1, 0, 0, 0}, {}},
        {"byte 5 neither 0 nor 1", {0, 7, 0x42, 0, 3, 2, 0, 0, 0}, {}},
        {"bytes 6 to 8 not zero", {0, 7, 0x42, 0, 3, 1, 0, 0, 1}, {}},
        {"10 bytes is not a button event", {0, 7, 0x42, 0, 3, 1, 0, 0, 0, 0}, {}},
        {"8 bytes is not a button event", {0, 7, 0x42, 0, 3, 1, 0, 0}, {}},
        {"wrong marker", {0, 6, 0x42, 0, 3, 1, 0, 0, 0}, {}},
        {"report ID 1", {1, 7, 0x42, 0, 3, 1, 0, 0, 0}, {}},
        {"launch 4", {0, 7, 0xA3, 0x19, 0x5D, 0x10, 0x16, 4, 0xEE}, {{A::LaunchAssignedProgram, 4}}},
        {"launch bad signature", {0, 7, 0xA3, 0x19, 0x5D, 0x10, 0x17, 4, 0}, {}},
        {"launch index 10", {0, 7, 0xA3, 0x19, 0x5D, 0x10, 0x16, 10, 0}, {}},
        {"wheel up", {3, 0xF0}, {{A::SendWheelUp, 0}}},
        {"wheel down, long", {3, 0xF1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {{A::SendWheelDown, 0}}},
        {"scroll left", {3, 0xF2}, {{A::ScrollUnderPointer, L}}},
        {"scroll right", {3, 0xF3, 9}, {{A::ScrollUnderPointer, -L}}},
        {"zoom in", {3, 0xF4}, {{A::ZoomIn, 0}}},
        {"zoom out", {3, 0xF5}, {{A::ZoomOut, 0}}},
        {"function launch 4", {3, 0xF6, 4}, {{A::LaunchAssignedProgram, 4}}},
        {"function launch 10", {3, 0xF6, 10}, {}},
        {"function launch without parameter", {3, 0xF6}, {}},
        {"unknown function", {3, 0xF7, 1}, {}},
        {"function ID alone", {3}, {}},
        {"other report ID", {4, 0xF0}, {}},
        {"empty", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedInput decoded = DecodeInputReport(c.report.data(), c.report.size(), L);
        const std::vector<RoutedAction> actual(decoded.Actions.begin(), decoded.Actions.begin() + decoded.Count);
        EXPECT_EQ(actual, c.actions);
    }
}

TEST(InputDecodingTest, NullReportDecodesToNothing) {
    EXPECT_EQ(DecodeInputReport(nullptr, 9, 3).Count, 0u);
}

}  // namespace
