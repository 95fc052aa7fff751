// Thread priorities as the macro player uses them, one set of cases run
// against the fake platform on the host and against the real functions under
// Wine: each thread has its own level, starting normal, and a level a normal
// process does not take is refused.
#include <gtest/gtest.h>

#include <memory>

#include "tests/conformance/ConformancePlatform.h"

namespace {

struct SeenByThread {
    int priorityAtStart = -100;
};

DWORD PLATFORM_THREAD_CALL ReadOwnPriority(void* parameter) {
    static_cast<SeenByThread*>(parameter)->priorityAtStart = Sys().Kernel.GetCurrentThreadPriority();
    return 0;
}

class ThreadPriorityConformance : public ::testing::Test {
protected:
    void SetUp() override {
        platform_ = MakeConformancePlatform();
        SetPlatform(&platform_->Get());
    }
    void TearDown() override {
        Sys().Kernel.SetCurrentThreadPriority(THREAD_PRIORITY_NORMAL);
        SetPlatform(nullptr);
        platform_.reset();
    }

private:
    std::unique_ptr<ConformancePlatform> platform_;
};

TEST_F(ThreadPriorityConformance, EachLevelReadsBackAndOthersAreRefused) {
    KernelServices& kernel = Sys().Kernel;
    for (int level : {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                      THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL}) {
        EXPECT_TRUE(kernel.SetCurrentThreadPriority(level)) << level;
        EXPECT_EQ(kernel.GetCurrentThreadPriority(), level);
    }
    ASSERT_TRUE(kernel.SetCurrentThreadPriority(THREAD_PRIORITY_HIGHEST));
    for (int refused : {3, 7, -3, 16, -16}) {
        EXPECT_FALSE(kernel.SetCurrentThreadPriority(refused)) << refused;
        EXPECT_EQ(kernel.GetLastError(), ERROR_INVALID_PARAMETER) << refused;
        EXPECT_EQ(kernel.GetCurrentThreadPriority(), THREAD_PRIORITY_HIGHEST) << "unchanged after " << refused;
    }
}

TEST_F(ThreadPriorityConformance, ANewThreadStartsNormalWhateverItsCreatorRunsAt) {
    KernelServices& kernel = Sys().Kernel;
    ASSERT_TRUE(kernel.SetCurrentThreadPriority(THREAD_PRIORITY_HIGHEST));
    SeenByThread seen;
    DWORD id = 0;
    HANDLE thread = kernel.CreateThread(0, ReadOwnPriority, &seen, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(kernel.WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    kernel.CloseHandle(thread);
    EXPECT_EQ(seen.priorityAtStart, THREAD_PRIORITY_NORMAL);
    EXPECT_EQ(kernel.GetCurrentThreadPriority(), THREAD_PRIORITY_HIGHEST);
}

}  // namespace
