// The translation of keyboard usages into virtual keys.
#include <gtest/gtest.h>

#include <set>

#include "actions/VirtualKeys.h"

namespace {

static_assert([] {
    int vk = 0;
    return UsageToVirtualKey(0x04, vk) && vk == 0x41;
}(), "the table is usable at compile time");

struct Pair {
    int usage;
    int virtualKey;
};

// The first and last of each range, and every single pair that stands out.
constexpr Pair kTranslated[] = {
    {0x04, 0x41}, {0x1D, 0x5A},                              // A, Z
    {0x1E, 0x31}, {0x26, 0x39}, {0x27, 0x30},                // 1, 9, 0
    {0x28, 0x0D}, {0x29, 0x1B}, {0x2A, 0x08}, {0x2B, 0x09}, {0x2C, 0x20},
    {0x2D, 0xBD}, {0x2E, 0xBB}, {0x2F, 0xDB}, {0x30, 0xDD}, {0x31, 0xDC},
    {0x33, 0xBA}, {0x34, 0xDE}, {0x35, 0xC0}, {0x36, 0xBC}, {0x37, 0xBE}, {0x38, 0xBF},
    {0x39, 0x14},
    {0x3A, 0x70}, {0x45, 0x7B},                              // F1, F12
    {0x46, 0x2A},                                            // Print Screen as VK_PRINT
    {0x47, 0x91}, {0x48, 0x13},
    {0x49, 0x2D}, {0x4A, 0x24}, {0x4B, 0x21}, {0x4C, 0x2E}, {0x4D, 0x23}, {0x4E, 0x22},
    {0x4F, 0x27}, {0x50, 0x25}, {0x51, 0x28}, {0x52, 0x26},
    {0x53, 0x90},
    {0x54, 0x6F}, {0x55, 0x6A}, {0x56, 0x6D}, {0x57, 0x6B},
    {0x58, 0x6C},                                            // keypad Enter as VK_SEPARATOR
    {0x59, 0x61}, {0x61, 0x69}, {0x62, 0x60}, {0x63, 0x6E},  // keypad 1, 9, 0, point
    {0x65, 0x5D},
    {0xE0, 0xA2}, {0xE1, 0xA0}, {0xE2, 0xA4}, {0xE3, 0x5B},
    {0xE4, 0xA3}, {0xE5, 0xA1}, {0xE6, 0xA5}, {0xE7, 0x5C},
};

TEST(UsageToVirtualKeyTest, TranslatesTheEdgesOfEveryRangeAndEverySinglePair) {
    for (const Pair& pair : kTranslated) {
        int vk = 0;
        EXPECT_TRUE(UsageToVirtualKey(pair.usage, vk)) << std::hex << "usage 0x" << pair.usage;
        EXPECT_EQ(vk, pair.virtualKey) << std::hex << "usage 0x" << pair.usage;
    }
}

TEST(UsageToVirtualKeyTest, ConsecutiveRangesRunInOrder) {
    for (int i = 0; i < 26; ++i) {
        int vk = 0;
        ASSERT_TRUE(UsageToVirtualKey(0x04 + i, vk));
        EXPECT_EQ(vk, 0x41 + i) << "letter " << i;
    }
    for (int i = 0; i < 12; ++i) {
        int vk = 0;
        ASSERT_TRUE(UsageToVirtualKey(0x3A + i, vk));
        EXPECT_EQ(vk, 0x70 + i) << "F" << (i + 1);
    }
    for (int i = 0; i < 9; ++i) {
        int vk = 0;
        ASSERT_TRUE(UsageToVirtualKey(0x59 + i, vk));
        EXPECT_EQ(vk, 0x61 + i) << "keypad " << (i + 1);
    }
}

TEST(UsageToVirtualKeyTest, UsagesOutsideTheTableLeaveTheCallersValue) {
    // Includes the macro mouse codes and values that only match when cut to a byte.
    for (int usage : {0x00, 0x01, 0x02, 0x03, 0x32, 0x64, 0x66, 0x67, 0xB7, 0xB8, 0xB9, 0xDF, 0xE8,
                      0xFF, -1, 0x100, 0x104, 0x1E0, -252}) {
        int vk = 0x77;
        EXPECT_FALSE(UsageToVirtualKey(usage, vk)) << "usage " << usage;
        EXPECT_EQ(vk, 0x77) << "usage " << usage;
    }
}

TEST(UsageToVirtualKeyTest, HoldsOneHundredAndFourPairsEachUsageAndKeyOnce) {
    std::set<int> usages;
    std::set<int> keys;
    for (const UsageKeyPair& pair : kUsageToVirtualKey) {
        usages.insert(pair.Usage);
        keys.insert(pair.VirtualKey);
    }
    EXPECT_EQ(usages.size(), 104u);
    EXPECT_EQ(keys.size(), 104u);
    // Every usage from 0 to 255 translates exactly when it is in the table.
    int translated = 0;
    for (int usage = 0; usage < 256; ++usage) {
        int vk = 0;
        if (UsageToVirtualKey(usage, vk)) ++translated;
    }
    EXPECT_EQ(translated, 104);
}

}  // namespace
