#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include "app/RegistryKeyHolder.h"
#include "platform/fake/FakePlatform.h"

namespace {

struct PathCase {
    const char16_t* fullPath;
    bool parsed;
    HKEY root;
    const char16_t* subKey;
};

TEST(RegistryPathTest, SplitsAtFirstBackslashAndMapsRootNames) {
    const PathCase cases[] = {
        {u"HKEY_CURRENT_USER\\Control Panel\\Mouse", true, HKEY_CURRENT_USER, u"Control Panel\\Mouse"},
        {u"hkey_local_machine\\Software\\X", true, HKEY_LOCAL_MACHINE, u"Software\\X"},
        {u"Hkey_Current_Config\\A", true, HKEY_CURRENT_CONFIG, u"A"},
        {u"HKEY_CLASSES_ROOT\\.ini", true, HKEY_CLASSES_ROOT, u".ini"},
        // Any other root: the local machine, with the whole text as the sub-key.
        {u"HKEY_USERS\\S-1-5", true, HKEY_LOCAL_MACHINE, u"HKEY_USERS\\S-1-5"},
        {u"HKCU\\Software", true, HKEY_LOCAL_MACHINE, u"HKCU\\Software"},
        {u"\\Leading", true, HKEY_LOCAL_MACHINE, u"\\Leading"},
        // No backslash: nothing is parsed.
        {u"HKEY_CURRENT_USER", false, nullptr, u""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        RegistryPath parsed{nullptr, Text()};
        EXPECT_EQ(ParseRegistryPath(c.fullPath, parsed), c.parsed) << "case " << i;
        EXPECT_EQ(parsed.root, c.root) << "case " << i;
        EXPECT_EQ(parsed.subKey, Text(c.subKey)) << "case " << i;
    }
}

class RegistryKeyHolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
    }
    void TearDown() override { SetPlatform(nullptr); }
    FakePlatform fake;
};

TEST_F(RegistryKeyHolderTest, OpensExistingKeyWithoutCreating) {
    fake.shell.AddRegistryKey(HKEY_CURRENT_USER, u"Control Panel\\Mouse");
    {
        RegistryKeyHolder holder;
        ASSERT_TRUE(holder.Open(u"HKEY_CURRENT_USER\\Control Panel\\Mouse", KEY_ALL_ACCESS));
        EXPECT_NE(holder.Key(), nullptr);
        EXPECT_EQ(holder.Root(), HKEY_CURRENT_USER);
        EXPECT_EQ(holder.KeyPath(), u"Control Panel\\Mouse");
        EXPECT_EQ(fake.CallIndex("RegCreateKeyW"), -1);
        EXPECT_NE(fake.CallIndex("RegOpenKeyExW 0x80000001 Control Panel\\Mouse 0xf003f"), -1);
        EXPECT_EQ(fake.shell.OpenRegistryKeys(), 1u);
    }
    // Destruction closes the key.
    EXPECT_EQ(fake.shell.OpenRegistryKeys(), 0u);
}

TEST_F(RegistryKeyHolderTest, CreatesMissingKeyAndReopenClosesPrevious) {
    RegistryKeyHolder holder;
    ASSERT_TRUE(holder.Open(u"HKEY_CURRENT_USER\\Control Panel\\Mouse", KEY_ALL_ACCESS));
    EXPECT_TRUE(fake.shell.RegistryKeyExists(HKEY_CURRENT_USER, u"Control Panel\\Mouse"));
    ASSERT_TRUE(holder.Open(u"HKEY_LOCAL_MACHINE\\Software\\Other", KEY_ALL_ACCESS));
    EXPECT_EQ(fake.shell.OpenRegistryKeys(), 1u);
    holder.Close();
    EXPECT_EQ(holder.Key(), nullptr);
    EXPECT_TRUE(holder.KeyPath().empty());
    EXPECT_EQ(fake.shell.OpenRegistryKeys(), 0u);
}

TEST_F(RegistryKeyHolderTest, FailureOfOpenAndCreateReportsFalse) {
    fake.shell.FailRegistry(true);
    RegistryKeyHolder holder;
    EXPECT_FALSE(holder.Open(u"HKEY_CURRENT_USER\\Control Panel\\Mouse", KEY_ALL_ACCESS));
    EXPECT_EQ(holder.Key(), nullptr);
}

}  // namespace
