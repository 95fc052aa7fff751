// A fake platform with the simulated mouse behind its modules, a window
// that keeps DeviceList from the library's notifications, and the link the
// device functions take.
#pragma once

#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <atomic>

#include "contract/Messages.h"
#include <cstring>
#include <string>
#include <vector>

#include "device/DeviceLink.h"
#include "device/DeviceList.h"
#include "device/HidApiBinding.h"
#include "device/HidDeviceBinding.h"
#include "device/InputHandling.h"
#include "device/ReadBackCollector.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"

namespace devtest {

constexpr UINT kNotification = kMsgDeviceNotification;

// The input callback of the tests: handles reports with the context set.
inline std::atomic<const InputContext*>& CallbackContext() {
    static std::atomic<const InputContext*> context{nullptr};
    return context;
}

inline void HID_CALLBACK TestInputCallback(DWORD identifier, const BYTE* report, DWORD length) {
    const InputContext* context = CallbackContext().load();
    HandleInputReport(context ? *context : InputContext{}, identifier, report, length);
}

// A window that applies collection notifications to DeviceList.
class NotificationWindow final : public WindowMessageTarget {
public:
    explicit NotificationWindow(std::atomic<std::int32_t>& deviceOpen) : deviceOpen_(deviceOpen) {}
    LRESULT HandleWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kNotification) {
            ++notifications;
            _DEVICE_STATE record{};
            if (HidReadNotice(lParam, &record)) ApplyCollectionNotification(wParam, &record, deviceOpen_);
            return 0;
        }
        return message == WM_NCCREATE ? TRUE : 0;
    }
    int notifications = 0;

private:
    std::atomic<std::int32_t>& deviceOpen_;
};

// One expected report: milliseconds after the first report, collection, bytes.
struct ExpectedReport {
    std::uint64_t at;
    DWORD usage;
    std::vector<std::uint8_t> bytes;
};

inline std::string Describe(const SimReceivedReport& r, std::uint64_t origin) {
    SimReceivedReport shifted = r;
    shifted.Time -= origin;
    return FormatReceivedReport(shifted);
}

inline std::string Describe(const ExpectedReport& e) {
    SimReceivedReport r;
    r.Time = e.at;
    r.Usage = e.usage;
    for (std::size_t i = 0; i < e.bytes.size() && i < r.Bytes.size(); ++i) r.Bytes[i] = e.bytes[i];
    return FormatReceivedReport(r);
}

// Compares report by report; on mismatch prints both sequences.
inline void ExpectReports(const std::vector<SimReceivedReport>& actual,
                          const std::vector<ExpectedReport>& expected) {
    const std::uint64_t origin = actual.empty() ? 0 : actual.front().Time;
    std::vector<std::string> a, e;
    for (const auto& r : actual) a.push_back(Describe(r, origin));
    for (const auto& r : expected) e.push_back(Describe(r));
    EXPECT_EQ(a, e);
}

class DeviceTest : public ::testing::Test {
protected:
    explicit DeviceTest(const SimMouseConfig& config = SimMouseConfig{}) : mouse(fake, config) {}

    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        ResetHidDeviceBinding();
        DeviceList.Clear();
        CurrentDeviceId.store(0);
        ReadBack.Reset();
        deviceOpen.store(0);
        shortBusy.store(0);
        bulkBusy.store(0);
        BindHidApi();
        window = fake.windows.CreateWindowExW(WindowCreation{}, &target);
        link = DeviceLink{window, kNotification, &TestInputCallback, &deviceOpen, &shortBusy, &bulkBusy, {}};
        context = InputContext{nullptr, &shortBusy, &bulkBusy};
        CallbackContext().store(&context);
    }

    void TearDown() override {
        mouse->WaitUntilDelivered();
        CallbackContext().store(nullptr);
        SetPlatform(nullptr);
    }

    // Opens the mouse and forgets what opening cost.
    void OpenAndClear() {
        ASSERT_EQ(OpenDevice(link), 1);
        ASSERT_EQ(DeviceList.Count(), 2u);
        mouse->ClearReceivedReports();
        fake.ClearCalls();
    }

    int DeviceCalls() {
        return mouse->CallCount(kOrdinalWriteData) + mouse->CallCount(kOrdinalWriteCommand) +
               mouse->CallCount(kOrdinalReadReply);
    }

    FakePlatform fake;
    SimulatedMouse mouse;
    std::atomic<std::int32_t> deviceOpen{0};
    std::atomic<std::int32_t> shortBusy{0};
    std::atomic<std::int32_t> bulkBusy{0};
    NotificationWindow target{deviceOpen};
    HWND window = nullptr;
    DeviceLink link;
    InputContext context;
};

}  // namespace devtest
