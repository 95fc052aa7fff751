// The fake's foreground rule, which the full write's dance relies on: a
// program in the background may not take the foreground, unless its thread
// shares input with the foreground window's thread. Wine lets any process
// take it, so this rule is checked on the fake only.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include "framework/CWnd.h"
#include "platform/fake/FakePlatform.h"

namespace {

class ForegroundRuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        ASSERT_TRUE(own.CreateEx(0, u"OwnClass", u"Own", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr));
        other = fake.windows.AddForeignWindow(u"Other Program");
        otherThread = fake.windows.GetWindowThreadProcessId(other);
    }
    void TearDown() override {
        own.DestroyWindow();
        SetPlatform(nullptr);
    }

    FakePlatform fake;
    CWnd own;
    HWND other = nullptr;
    DWORD otherThread = 0;
};

TEST_F(ForegroundRuleTest, ABackgroundProgramIsRefusedUntilItSharesTheForegroundThreadsInput) {
    fake.windows.SetForeground(other);
    const DWORD self = FakePlatform::kMainThreadId;
    EXPECT_NE(otherThread, self);
    EXPECT_FALSE(fake.windows.SetForegroundWindow(own.GetSafeHwnd()));
    EXPECT_EQ(fake.windows.GetForegroundWindow(), other);
    fake.windows.ShowWindow(own.GetSafeHwnd(), SW_HIDE);
    fake.windows.ShowWindow(own.GetSafeHwnd(), SW_SHOW);
    EXPECT_EQ(fake.windows.GetForegroundWindow(), other) << "showing does not take the front either";

    ASSERT_TRUE(fake.windows.AttachThreadInput(otherThread, self, TRUE));
    EXPECT_TRUE(fake.windows.IsInputAttached(self, otherThread));
    EXPECT_TRUE(fake.windows.SetForegroundWindow(own.GetSafeHwnd()));
    EXPECT_EQ(fake.windows.GetForegroundWindow(), own.GetSafeHwnd());
    EXPECT_TRUE(fake.windows.AttachThreadInput(otherThread, self, FALSE));
    EXPECT_FALSE(fake.windows.AttachThreadInput(otherThread, self, FALSE)) << "not attached any more";
}

TEST_F(ForegroundRuleTest, TheForegroundThreadOrAnyoneWhenNobodyHasItMayMoveTheFront) {
    EXPECT_TRUE(fake.windows.SetForegroundWindow(other)) << "nobody had the front";
    fake.windows.SetForeground(own.GetSafeHwnd());
    EXPECT_TRUE(fake.windows.SetForegroundWindow(other)) << "the foreground thread may give it away";
}

TEST_F(ForegroundRuleTest, AttachingNeedsTwoDifferentThreads) {
    const DWORD self = FakePlatform::kMainThreadId;
    EXPECT_FALSE(fake.windows.AttachThreadInput(self, self, TRUE));
    EXPECT_FALSE(fake.windows.AttachThreadInput(0, self, TRUE));
    EXPECT_EQ(fake.windows.GetWindowThreadProcessId(nullptr), 0u);
}

}  // namespace
