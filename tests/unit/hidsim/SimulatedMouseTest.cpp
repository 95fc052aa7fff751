// The simulated mouse and its library: the secrecy transform, open and
// match, notifications and their records, input delivery on its own thread.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "hidsim/SimExports.h"
#include "hidsim/Secrecy.h"
#include "hidsim/host/SimulatedMouse.h"

namespace {

TEST(SecrecyTest, DecodeUndoesEncodeAndChangesTheBytes) {
    for (int v = 0; v < 256; ++v) {
        for (std::size_t i = 0; i < 8; ++i) {
            const auto b = static_cast<std::uint8_t>(v);
            ASSERT_EQ(secrecy::DecodeByte(secrecy::EncodeByte(b, i), i), b);
        }
    }
    std::uint8_t frame[9] = {0x42, 1, 2, 3, 4, 5, 6, 7, 8};
    const std::uint8_t plain[9] = {0x42, 1, 2, 3, 4, 5, 6, 7, 8};
    secrecy::EncodeFrame(frame);
    EXPECT_EQ(frame[0], 0x42) << "the report-ID byte is left alone";
    int changed = 0;
    for (int i = 1; i < 9; ++i) changed += frame[i] != plain[i];
    EXPECT_EQ(changed, 8);
    DecodeSecrecy_V11(frame);
    EXPECT_EQ(0, std::memcmp(frame, plain, 9));
}

// Redeems every notification's notice as the service does.
class Recorder final : public WindowMessageTarget {
public:
    LRESULT HandleWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == 0x502) {
            _DEVICE_STATE record{};
            redeemed.push_back(HidSim_ReadNotice(lParam, &record));
            records.push_back(record);
            params.push_back(wParam);
            notices.push_back(lParam);
        }
        return message == WM_NCCREATE ? TRUE : 0;
    }
    std::vector<_DEVICE_STATE> records;
    std::vector<int> redeemed;
    std::vector<WPARAM> params;
    std::vector<LPARAM> notices;
};

class SimLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        window = fake.windows.CreateWindowExW(WindowCreation{}, &recorder);
    }
    void TearDown() override { SetPlatform(nullptr); }

    FakePlatform fake;
    SimulatedMouse mouse{fake};
    Recorder recorder;
    HWND window = nullptr;
};

TEST_F(SimLibraryTest, OpenNeedsTheMatchAndAnnouncesBothCollections) {
    EXPECT_EQ(HidSim_Open(window, 0x502), 0) << "no match record yet";
    const DWORD wrong[7] = {0x1234, 0x1016, 2, 1, 0xFF01, 0xFF00, 0xFF00};
    HidSim_SetMatch(wrong);
    EXPECT_EQ(HidSim_Open(window, 0x502), 0);
    HidSim_SetMatch(kMatchRecord);
    EXPECT_EQ(HidSim_Open(window, 0x502), 1);
    ASSERT_EQ(recorder.records.size(), 2u);
    EXPECT_EQ(recorder.params, (std::vector<WPARAM>{1, 1}));
    EXPECT_EQ(recorder.records[0].State, 1u);
    EXPECT_EQ(recorder.records[0].Usage, kCommandUsage);
    EXPECT_EQ(recorder.records[1].DeviceId, kSimDataDeviceId);
    EXPECT_EQ(recorder.records[1].Usage, kDataUsage);
}

TEST_F(SimLibraryTest, UnplugAndPlugPostNotificationsThatAreRedeemedOnce) {
    HidSim_SetMatch(kMatchRecord);
    HidSim_Open(window, 0x502);
    for (int i = 0; i < 10; ++i) {
        mouse->Unplug();
        mouse->Plug();
    }
    EXPECT_EQ(recorder.records.size(), 2u) << "posted, not yet handled";
    fake.windows.PumpMessages();
    ASSERT_EQ(recorder.records.size(), 42u);
    for (std::size_t i = 2; i < recorder.records.size(); ++i) {
        const bool closing = ((i - 2) / 2) % 2 == 0;
        EXPECT_EQ(recorder.records[i].State, closing ? 0u : 1u) << i;
    }
    EXPECT_EQ(recorder.redeemed, std::vector<int>(42, 1));
    EXPECT_EQ(mouse->PendingNotices(), 0u);
    _DEVICE_STATE again{};
    EXPECT_EQ(HidSim_ReadNotice(recorder.notices.back(), &again), 0) << "a notice is read once";
}

// Whatever number another program posts, nothing is read unless it names a
// pending notice; the record is written only then.
TEST_F(SimLibraryTest, ANumberThatNamesNoPendingNoticeReadsNothing) {
    HidSim_SetMatch(kMatchRecord);
    HidSim_Open(window, 0x502);
    mouse->Unplug();  // two notices pending
    const LPARAM pending = static_cast<LPARAM>(recorder.notices.back() + 1);
    const LPARAM hostile[] = {0, -1, 0x10000, pending + 2, static_cast<LPARAM>(0x7FFFFFFF),
                              reinterpret_cast<LPARAM>(&recorder), pending | (LPARAM{1} << 16)};
    for (LPARAM value : hostile) {
        _DEVICE_STATE record{7, 7, 7, 7};
        EXPECT_EQ(HidSim_ReadNotice(value, &record), 0) << value;
        EXPECT_EQ(record.State, 7u) << value;
    }
    EXPECT_EQ(HidSim_ReadNotice(pending, nullptr), 0);
    EXPECT_EQ(mouse->PendingNotices(), 2u);
    _DEVICE_STATE record{};
    EXPECT_EQ(HidSim_ReadNotice(pending, &record), 1);
    EXPECT_EQ(record.State, 0u);
    EXPECT_EQ(record.DeviceId, kSimCommandDeviceId);
}

TEST_F(SimLibraryTest, NoticesNobodyReadsAreBoundedAndNumbersStayInSixteenBits) {
    HidSim_SetMatch(kMatchRecord);
    HidSim_Open(window, 0x502);
    for (int i = 0; i < 40000; ++i) {
        mouse->Unplug();
        mouse->Plug();
    }
    EXPECT_EQ(mouse->PendingNotices(), 64u) << "the oldest are dropped";
    fake.windows.PumpMessages();
    int redeemed = 0;
    for (std::size_t i = 0; i < recorder.notices.size(); ++i) {
        EXPECT_GE(recorder.notices[i], 1);
        EXPECT_LE(recorder.notices[i], 0xFFFF);
        redeemed += recorder.redeemed[i];
    }
    EXPECT_EQ(redeemed, 2 + 64) << "those of the open, and the newest 64";
}

TEST_F(SimLibraryTest, AMouseNotFoundAtOpenIsAnnouncedWhenPluggedIn) {
    mouse->Unplug();
    HidSim_SetMatch(kMatchRecord);
    EXPECT_EQ(HidSim_Open(window, 0x502), 0);
    mouse->Plug();
    fake.windows.PumpMessages();
    EXPECT_EQ(recorder.records.size(), 2u);
    HidSim_Close();
    mouse->Unplug();
    mouse->Plug();
    fake.windows.PumpMessages();
    EXPECT_EQ(recorder.records.size(), 2u) << "nothing after close";
}

std::atomic<int> gDelivered{0};
std::atomic<int> gCloseResult{-1};

void HID_CALLBACK CloseFromCallback(DWORD, const BYTE* report, DWORD length) {
    ++gDelivered;
    if (length == 9 && report[4] == 7) gCloseResult = HidSim_Close();
}

TEST_F(SimLibraryTest, ClosingFromTheCallbackThreadDoesNotDeadlock) {
    gDelivered = 0;
    gCloseResult = -1;
    HidSim_SetMatch(kMatchRecord);
    HidSim_SetCallback(&CloseFromCallback);
    HidSim_Open(window, 0x502);
    EXPECT_TRUE(mouse->PressButton(1));
    EXPECT_TRUE(mouse->PressButton(7));
    mouse->WaitUntilDelivered();
    EXPECT_EQ(gCloseResult.load(), 1);
    EXPECT_EQ(gDelivered.load(), 2);
    EXPECT_FALSE(mouse->PressButton(2)) << "released: reports are dropped";
    mouse->WaitUntilDelivered();
    EXPECT_EQ(gDelivered.load(), 2);
}

void HID_CALLBACK IgnoreTimedReport(DWORD, const BYTE*, DWORD) {}

// The latency benchmark's source: each report's production and delivery on
// the fine clock, kept only once the clock is set, reports dropped while
// released never listed, and only the latest kept.
TEST_F(SimLibraryTest, InputTimingsListEachDeliveredReportOnTheFineClock) {
    HidSim_SetMatch(kMatchRecord);
    HidSim_SetCallback(&IgnoreTimedReport);
    HidSim_Open(window, 0x502);
    EXPECT_TRUE(mouse->PressButton(1));
    mouse->WaitUntilDelivered();
    EXPECT_TRUE(mouse->InputTimings().empty()) << "no fine clock yet";

    std::atomic<std::uint64_t> fine{100};
    mouse->SetFineClock([&fine] { return fine.fetch_add(10); });
    EXPECT_TRUE(mouse->PressButton(1));
    mouse->WaitUntilDelivered();
    const auto timings = mouse->InputTimings();
    ASSERT_EQ(timings.size(), 1u);
    EXPECT_EQ(timings[0].produced, 100u);
    EXPECT_EQ(timings[0].delivered, 110u);

    for (std::size_t i = 0; i < SimHidLibrary::kKeptInputTimings + 5; ++i) mouse->PressButton(2);
    mouse->WaitUntilDelivered();
    const auto kept = mouse->InputTimings();
    ASSERT_EQ(kept.size(), SimHidLibrary::kKeptInputTimings);
    EXPECT_GT(kept.front().produced, 110u) << "the oldest went first";
    for (const SimInputTiming& timing : kept) EXPECT_LT(timing.produced, timing.delivered);
}

TEST_F(SimLibraryTest, WritesToAnUnknownCollectionOrWhileUnpluggedAreRefused) {
    HidSim_SetMatch(kMatchRecord);
    HidSim_Open(window, 0x502);
    const BYTE report[8] = {0x07, 0x17, 0x01};
    EXPECT_EQ(HidSim_WriteCommand(0x9999, report, 8), 0);
    EXPECT_EQ(HidSim_WriteCommand(kSimCommandDeviceId, report, 8), 1);
    mouse->Unplug();
    EXPECT_EQ(HidSim_WriteCommand(kSimCommandDeviceId, report, 8), 0);
    BYTE reply[8] = {0x07};
    EXPECT_EQ(HidSim_ReadReply(kSimCommandDeviceId, reply, 8), 0);
    EXPECT_EQ(mouse->ReceivedReports().size(), 1u);
    EXPECT_EQ(mouse->Memory().StateByte, 1);
}

}  // namespace
