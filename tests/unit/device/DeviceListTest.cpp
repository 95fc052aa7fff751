// The collection list: ids by usage with the last-entry fallback, and what
// each collection notification does to the list and to DeviceOpen.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include "device/DeviceList.h"

namespace {

constexpr _DEVICE_STATE Cmd{1, 0x10011, 0, 0xFF01};
constexpr _DEVICE_STATE Data{1, 0x20022, 0, 0x1FF00};

struct IdCase {
    const char* name;
    std::vector<_DEVICE_STATE> entries;
    WORD command;
    WORD data;
};

TEST(DeviceListTest, IdsByUsageFallBackToTheLastEntry) {
    const IdCase cases[] = {
        {"empty", {}, 0, 0},
        {"both", {Cmd, Data}, 0x0011, 0x0022},
        {"both, data first", {Data, Cmd}, 0x0011, 0x0022},
        {"only data", {Data}, 0x0022, 0x0022},
        {"only command", {Cmd}, 0x0011, 0x0011},
        {"first match wins", {Cmd, _DEVICE_STATE{1, 0x33, 0, 0xFF01}, Data}, 0x0011, 0x0022},
        {"neither usage", {_DEVICE_STATE{1, 0x44, 0, 0x1234}, _DEVICE_STATE{1, 0x55, 0, 0}}, 0x55, 0x55},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DeviceIdForUsage(c.entries, kCommandUsage), c.command);
        EXPECT_EQ(DeviceIdForUsage(c.entries, kDataUsage), c.data);
    }
}

class NotificationTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { DeviceList.Clear(); }
    CollectionChange Apply(DWORD state, DWORD id, WPARAM wParam = 1) {
        const _DEVICE_STATE record{state, id, 7, 0xFF01};
        return ApplyCollectionNotification(wParam, &record, deviceOpen);
    }
    std::atomic<std::int32_t> deviceOpen{1};
};

TEST_F(NotificationTest, OpenAppendsInArrivalOrder) {
    EXPECT_EQ(Apply(1, 0x22), CollectionChange::Appended);
    EXPECT_EQ(Apply(1, 0x11), CollectionChange::Appended);
    const auto entries = DeviceList.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].DeviceId, 0x22u);
    EXPECT_EQ(entries[0].Reserved, 7u);
    EXPECT_EQ(entries[1].DeviceId, 0x11u);
}

TEST_F(NotificationTest, TwoClosesAfterUnplugEmptyTheListAndAThirdClearsTheFlag) {
    Apply(1, 0x11);
    Apply(1, 0x22);
    EXPECT_EQ(Apply(0, 0x11), CollectionChange::Removed);
    EXPECT_EQ(Apply(0, 0x10022), CollectionChange::Removed) << "only the low 16 bits count";
    EXPECT_TRUE(DeviceList.Empty());
    EXPECT_EQ(deviceOpen.load(), 1);
    EXPECT_EQ(Apply(0, 0x11), CollectionChange::ClearedOpenFlag);
    EXPECT_EQ(deviceOpen.load(), 0);
}

TEST_F(NotificationTest, UnknownIdRemovesNothingAndOthersAreIgnored) {
    Apply(1, 0x11);
    EXPECT_EQ(Apply(0, 0x99), CollectionChange::NotInList);
    EXPECT_EQ(Apply(2, 0x11), CollectionChange::Ignored);
    EXPECT_EQ(Apply(1, 0x11, 0), CollectionChange::Ignored);
    EXPECT_EQ(ApplyCollectionNotification(1, nullptr, deviceOpen), CollectionChange::Ignored);
    EXPECT_EQ(DeviceList.Count(), 1u);
    EXPECT_EQ(deviceOpen.load(), 1);
}

// A reopen's notices can arrive before the earlier ones are handled: every
// collection is then announced twice. The list keeps one entry per device id,
// so the unplug's closes still empty it.
TEST_F(NotificationTest, ACollectionAnnouncedTwiceIsListedOnceAndOneCloseRemovesIt) {
    EXPECT_EQ(Apply(1, 0x11), CollectionChange::Appended);
    EXPECT_EQ(Apply(1, 0x22), CollectionChange::Appended);
    const _DEVICE_STATE again{1, 0x10011, 9, 0xFF00};
    EXPECT_EQ(ApplyCollectionNotification(1, &again, deviceOpen), CollectionChange::Replaced)
        << "same low 16 bits: the same collection";
    const auto entries = DeviceList.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].DeviceId, 0x10011u) << "renewed in place";
    EXPECT_EQ(entries[0].Reserved, 9u);
    EXPECT_EQ(entries[1].DeviceId, 0x22u);
    EXPECT_EQ(Apply(0, 0x11), CollectionChange::Removed);
    EXPECT_EQ(Apply(0, 0x22), CollectionChange::Removed);
    EXPECT_TRUE(DeviceList.Empty());
}

}  // namespace
