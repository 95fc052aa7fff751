// Reports arrive on the library's thread while the main thread handles
// collection notifications and device commands. Built with the thread
// sanitizer (MOUSEHID_TSAN) this shows the shared state is safe; in every
// build it shows the device link ends in a consistent state.
#include <thread>

#include "device/DeviceCommands.h"
#include "tests/unit/device/DeviceTestSupport.h"

namespace devtest {
namespace {

class CountingRoutes final : public InputRoutes {
public:
    void ButtonPressed(int i) override { Count(pressed, i); }
    void ButtonReleased(int i) override { Count(released, i); }
    void LaunchAssignedProgram(int i) override { Count(launched, i); }
    void SendWheelUp() override { ++wheel; }
    void SendWheelDown() override { ++wheel; }
    void ScrollUnderPointer(int) override { ++scrolled; }
    void ZoomIn() override {}
    void ZoomOut() override {}

    std::atomic<int> pressed{0}, released{0}, launched{0}, wheel{0}, scrolled{0};
    std::atomic<int> badIndex{0};

private:
    void Count(std::atomic<int>& counter, int index) {
        ++counter;
        if (index < 0 || index > 9) ++badIndex;
    }
};

class ConcurrencyTest : public DeviceTest {};

TEST_F(ConcurrencyTest, ReportsOnTheLibraryThreadWhileTheMainThreadCommandsAndReplugs) {
    CountingRoutes routes;
    context.Routes = &routes;
    ASSERT_EQ(OpenDevice(link), 1);

    std::atomic<bool> stop{false};
    std::thread driver([&] {
        // At least a few hundred rounds, however fast the main thread is done.
        for (int i = 0; i < 500 || !stop.load(); ++i) {
            mouse->PressButton(i % 10);
            mouse->ReleaseButton(i % 10);
            mouse->SendInputReport({0x03, 0xF2});
            mouse->SendInputReport({0x03, 0xF6, static_cast<std::uint8_t>(i % 12)});
            if (i % 64 == 0) std::this_thread::yield();
        }
    });

    int unplugs = 0;
    for (int round = 0; round < 40; ++round) {
        SetStateByte(link, round);
        ReadResolutionStage(link);
        RequestReadBack(link, shortBusy);
        const auto block = ReadBack.Block();
        (void)block;
        if (round % 5 == 4) {
            mouse->Unplug();
            ++unplugs;
            fake.windows.PumpMessages();
            EXPECT_TRUE(DeviceList.Empty());
            EXPECT_EQ(SetStateByte(link, 1), 0);
            mouse->Plug();
            fake.windows.PumpMessages();
        }
    }
    stop.store(true);
    driver.join();
    // The mouse is plugged in again here: one more press surely arrives.
    mouse->PressButton(1);
    mouse->ReleaseButton(1);
    mouse->WaitUntilDelivered();

    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_EQ(SetStateByte(link, 0x44), 1);
    EXPECT_EQ(mouse->Memory().StateByte, 0x44);
    EXPECT_EQ(routes.badIndex.load(), 0);
    EXPECT_GT(routes.pressed.load(), 0);
    // Presses of buttons 8 and 9 release at once, so releases are never
    // fewer than presses, except that an unplug drops the reports still
    // queued: at most one press per unplug loses its release.
    EXPECT_GE(routes.released.load() + unplugs, routes.pressed.load());
}

}  // namespace
}  // namespace devtest
