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

class Recorder final : public WindowMessageTarget {
public:
    LRESULT HandleWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == 0x502) {
            records.push_back(reinterpret_cast<const _DEVICE_STATE*>(lParam));
            params.push_back(wParam);
        }
        return message == WM_NCCREATE ? TRUE : 0;
    }
    std::vector<const _DEVICE_STATE*> records;
    std::vector<WPARAM> params;
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
    EXPECT_EQ(recorder.records[0]->State, 1u);
    EXPECT_EQ(recorder.records[0]->Usage, kCommandUsage);
    EXPECT_EQ(recorder.records[1]->DeviceId, kSimDataDeviceId);
    EXPECT_EQ(recorder.records[1]->Usage, kDataUsage);
}

TEST_F(SimLibraryTest, UnplugAndPlugPostNotificationsWhoseRecordsStayValid) {
    HidSim_SetMatch(kMatchRecord);
    HidSim_Open(window, 0x502);
    for (int i = 0; i < 50; ++i) {
        mouse->Unplug();
        mouse->Plug();
    }
    EXPECT_EQ(recorder.records.size(), 2u) << "posted, not yet handled";
    fake.windows.PumpMessages();
    ASSERT_EQ(recorder.records.size(), 202u);
    for (std::size_t i = 2; i < recorder.records.size(); ++i) {
        const bool closing = ((i - 2) / 2) % 2 == 0;
        EXPECT_EQ(recorder.records[i]->State, closing ? 0u : 1u) << i;
    }
    EXPECT_EQ(recorder.records[0]->State, 1u) << "the first records are still intact";
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
