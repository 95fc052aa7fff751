// The four-report read-back collection always ends: complete with four
// answers, or without data when they do not come within a second (virtual
// time), or when the mouse is reopened, closed or unplugged meanwhile.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "app/MursohidDlg.h"
#include "device/DeviceSession.h"
#include "tests/support/ProcessReset.h"
#include "app/ProcessState.h"
#include "device/ReadBackCollector.h"
#include "tests/unit/device/DeviceTestSupport.h"

namespace {

std::array<std::uint8_t, 9> Report(std::uint8_t n) { return {0x00, n, n, n, n, n, n, n, n}; }

const char* Name(ReadBackState state) {
    switch (state) {
    case ReadBackState::Idle: return "Idle";
    case ReadBackState::Pending: return "Pending";
    case ReadBackState::Complete: return "Complete";
    case ReadBackState::EndedWithoutData: return "EndedWithoutData";
    }
    return "?";
}

// One step: a report arriving (report != 0) or a query (report == 0), at a
// time after arming, and the state seen after it.
struct Step {
    DWORD at;
    std::uint8_t report;
    ReadBackState state;
};

struct Scenario {
    const char* name;
    DWORD armedAt;
    std::vector<Step> steps;
    int gathered;  // reports whose payload is in the block at the end
};

class ReadBackCollectorTest : public ::testing::Test {
protected:
    void SetUp() override { collector.Reset(); }
    ReadBackCollector collector;
    std::atomic<std::int32_t> shortBusy{0};
    std::atomic<std::int32_t> bulkBusy{0};
};

TEST_F(ReadBackCollectorTest, ACollectionEndsWithItsAnswersOrWithoutDataAfterOneSecond) {
    using S = ReadBackState;
    const Scenario scenarios[] = {
        {"four answers in time", 5000, {{0, 1, S::Pending}, {10, 2, S::Pending}, {20, 3, S::Pending}, {999, 4, S::Complete}}, 4},
        {"no answer: the query at one second ends it", 5000, {{999, 0, S::Pending}, {1000, 0, S::EndedWithoutData}}, 0},
        {"three answers, then time is up", 5000, {{0, 1, S::Pending}, {1, 2, S::Pending}, {2, 3, S::Pending}, {1000, 0, S::EndedWithoutData}}, 0},
        {"a late report ends it and is not taken", 5000, {{0, 1, S::Pending}, {1000, 2, S::EndedWithoutData}, {1001, 3, S::EndedWithoutData}}, 0},
        {"across the wrap of the tick count", 0xFFFFFF00u, {{0xF0, 1, S::Pending}, {0x110, 2, S::Pending}, {0x3E7, 0, S::Pending}, {0x3E8, 0, S::EndedWithoutData}}, 0},
        {"reports after the end are not taken", 0, {{1, 1, S::Pending}, {2, 2, S::Pending}, {3, 3, S::Pending}, {4, 4, S::Complete}, {5, 5, S::Complete}}, 4},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        collector.Reset();
        collector.Arm(shortBusy, s.armedAt);
        EXPECT_EQ(shortBusy.load(), 1);
        for (std::size_t i = 0; i < s.steps.size(); ++i) {
            const Step& step = s.steps[i];
            const DWORD now = s.armedAt + step.at;
            ReadBackState state;
            if (step.report != 0) {
                const auto report = Report(step.report);
                collector.Gather(report.data(), report.size(), shortBusy, bulkBusy, nullptr, now);
                state = collector.ShortState(shortBusy, now);
            } else {
                state = collector.ShortState(shortBusy, now);
            }
            EXPECT_STREQ(Name(state), Name(step.state)) << "step " << i;
            EXPECT_EQ(shortBusy.load(), state == S::Pending ? 1 : 0) << "step " << i;
        }
        const auto block = collector.Block();
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(block[static_cast<std::size_t>(r) * 8], r < s.gathered ? r + 1 : 0) << "slot " << r;
        EXPECT_EQ(collector.Counter(), 0);
    }
}

TEST_F(ReadBackCollectorTest, CancelEndsAPendingCollectionWithoutData) {
    EXPECT_EQ(collector.ShortState(shortBusy, 0), ReadBackState::Idle);
    collector.Arm(shortBusy, 100);
    const auto report = Report(7);
    collector.Gather(report.data(), report.size(), shortBusy, bulkBusy, nullptr, 110);
    bulkBusy.store(1);
    collector.Cancel(shortBusy, bulkBusy);
    EXPECT_EQ(shortBusy.load(), 0);
    EXPECT_EQ(bulkBusy.load(), 0);
    EXPECT_EQ(collector.Counter(), 0);
    EXPECT_EQ(collector.ShortState(shortBusy, 120), ReadBackState::EndedWithoutData);
    EXPECT_EQ(collector.Block()[0], 0) << "a part of the answers is nothing read";
    // Reports after it are not gathered.
    collector.Gather(report.data(), report.size(), shortBusy, bulkBusy, nullptr, 130);
    EXPECT_EQ(collector.Block()[0], 0);
}

TEST_F(ReadBackCollectorTest, AFlagSetByItsOwnerCountsFromWhenItIsFirstSeen) {
    shortBusy.store(1);
    EXPECT_EQ(collector.ShortState(shortBusy, 2000), ReadBackState::Pending);
    EXPECT_EQ(collector.ShortState(shortBusy, 2999), ReadBackState::Pending);
    EXPECT_EQ(collector.ShortState(shortBusy, 3000), ReadBackState::EndedWithoutData);
    EXPECT_EQ(shortBusy.load(), 0);
}

TEST_F(ReadBackCollectorTest, AFlagClearedByItsOwnerIsNothingPending) {
    collector.Arm(shortBusy, 0);
    shortBusy.store(0);
    EXPECT_EQ(collector.ShortState(shortBusy, 1), ReadBackState::EndedWithoutData);
}

using devtest::DeviceTest;

// A collection armed with the mouse open; the mouse sends no answers.
class PendingReadBackTest : public DeviceTest {
protected:
    void ArmPending() {
        OpenAndClear();
        ReadBack.Arm(shortBusy, fake.kernel.GetTickCount());
        ASSERT_EQ(shortBusy.load(), 1);
    }
    // A button press after the change must not be taken for an answer.
    void ExpectNothingCollected() {
        EXPECT_EQ(shortBusy.load(), 0);
        EXPECT_EQ(ReadBack.ShortState(shortBusy, fake.kernel.GetTickCount()), ReadBackState::EndedWithoutData);
        mouse->PressButton(3);
        mouse->WaitUntilDelivered();
        EXPECT_EQ(ReadBack.Counter(), 0);
        const auto block = ReadBack.Block();
        for (std::uint8_t byte : block) EXPECT_EQ(byte, 0);
    }
};

TEST_F(PendingReadBackTest, ReopeningTheMouseEndsIt) {
    ArmPending();
    EXPECT_EQ(OpenDevice(link), 1);
    ExpectNothingCollected();
}

TEST_F(PendingReadBackTest, ClosingTheMouseEndsIt) {
    ArmPending();
    EXPECT_EQ(CloseDevice(link), 1);
    ExpectNothingCollected();
}

TEST_F(PendingReadBackTest, AnswersThatDoNotComeWithinASecondAreNothingRead) {
    ArmPending();
    fake.AdvanceClock(999);
    EXPECT_EQ(ReadBack.ShortState(shortBusy, fake.kernel.GetTickCount()), ReadBackState::Pending);
    fake.AdvanceClock(1);
    mouse->PressButton(2);  // arrives when the time is up
    mouse->WaitUntilDelivered();
    ExpectNothingCollected();
}

// The main window: unplugging during a read-back ends it too.
template <bool MouseAnswers>
class ReadBackWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
    }
    void TearDown() override {
        mouse->WaitUntilDelivered();
        SetPlatform(nullptr);
    }
    static SimMouseConfig Config() {
        SimMouseConfig config;
        config.Answers.AnswersReadBack = MouseAnswers;
        return config;
    }
    FakePlatform fake;
    SimulatedMouse mouse{fake, Config()};
};

using MainWindowReadBackTest = ReadBackWindowTest<true>;
using SilentReadBackTest = ReadBackWindowTest<false>;

TEST_F(SilentReadBackTest, UnpluggingTheMouseEndsAPendingCollection) {
    auto dlg = std::make_unique<CMursohidDlg>();
    ASSERT_TRUE(dlg->CreateServiceWindow());
    EXPECT_EQ(dlg->Device().RequestReadBack(), 0);
    mouse->WaitUntilDelivered();
    EXPECT_EQ(dlg->Device().ShortReadBackState(), ReadBackState::Pending) << "no answer came";
    mouse->Unplug();
    fake.windows.PumpMessages();
    EXPECT_FALSE(dlg->Device().ShortReadPending());
    EXPECT_EQ(dlg->Device().ShortReadBackState(), ReadBackState::EndedWithoutData);
    mouse->Plug();
    fake.windows.PumpMessages();
    dlg->DestroyWindow();
}

TEST_F(MainWindowReadBackTest, ARequestAnsweredByTheMouseCompletes) {
    auto dlg = std::make_unique<CMursohidDlg>();
    ASSERT_TRUE(dlg->CreateServiceWindow());
    EXPECT_EQ(dlg->Device().ShortReadBackState(), ReadBackState::Idle);
    EXPECT_EQ(dlg->Device().RequestReadBack(), 0);
    mouse->WaitUntilDelivered();
    EXPECT_EQ(dlg->Device().ShortReadBackState(), ReadBackState::Complete);
    dlg->DestroyWindow();
}

}  // namespace
