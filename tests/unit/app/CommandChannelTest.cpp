// One owner of the mouse's command channel: a resolution button pressed at
// any point of a full write (0x4DE) waits for the write's end, so the mouse
// receives the write as whole streams (07 04 and its 5 table reports, 07 05
// and its 378 macro reports, 07 06 and its 2 stage reports) and the
// button's stage query and selection after them, in order.
#include "tests/unit/app/MainWindowRig.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "contract/Messages.h"
#include "device/DeviceSession.h"
#include "tests/support/SettingsSamples.h"

namespace {

constexpr int kStageButton = 5;
constexpr std::uint8_t kStageUp = 7;
constexpr int kMacroButton = 3;

// Each command the mouse received, with the number of data reports that
// followed it before the next command: "07 05 01 00 1e 14 00 00 +378".
std::vector<std::string> Streams(const std::vector<SimReceivedReport>& received) {
    std::vector<std::string> streams;
    int data = 0;
    auto close = [&] {
        if (!streams.empty()) streams.back() += " +" + std::to_string(data);
        data = 0;
    };
    for (const auto& report : received) {
        if (report.Usage != kCommandUsage) {
            ++data;
            continue;
        }
        close();
        std::string bytes;
        for (std::uint8_t b : report.Bytes) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x ", b);
            bytes += hex;
        }
        streams.push_back(bytes.substr(0, bytes.size() - 1));
    }
    close();
    return streams;
}

class CommandChannelTest : public MainWindowRig, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        MainWindowRig::SetUp();
        ServiceSettings settings = samples::DefaultSettings();
        ProfileRecord& profile = settings.Profiles[0];
        profile.DPI = 1;
        profile.Buttons[kStageButton].ButtonFunc = kStageUp;
        ButtonAssignment& macro = profile.Buttons[kMacroButton];
        macro.ButtonFunc = 44;
        macro.ButtonID = 1;
        const std::uint8_t events[] = {0x84, 1, 0x04, 0x04, 1, 0x04};
        std::memset(macro.ButtonData, 0, sizeof macro.ButtonData);
        std::memcpy(macro.ButtonData, events, sizeof events);
        macro.KeyNumber = sizeof events;
        auto file = std::make_unique<PortableIniFile>(DataFolder() + u"config.ini");
        WriteProfileSlot(*file, 0, profile);
        mouse->ClearReceivedReports();
    }
};

// The button is pressed when the mouse has received this many reports of
// the write: in the button table, on 07 05, in the macro stream, at its
// last report, in the stage tables.
TEST_P(CommandChannelTest, AResolutionPressDuringAFullWriteComesAfterItsWholeStreams) {
    const int pressAt = GetParam();
    int received = 0;
    bool pressed = false;
    mouse->SetLogSink([&](const std::string& line) {
        if (line.find(" ff0") == std::string::npos || ++received != pressAt) return;
        pressed = mouse->PressButton(kStageButton);
        // Until the input thread is at the channel (real time, bounded).
        for (int i = 0; i < 1000 && window->Device().ChannelWaiters() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    Post(kMsgFullWrite);
    Settle();
    ASSERT_TRUE(pressed);
    mouse->SetLogSink(nullptr);
    EXPECT_EQ(Streams(mouse->ReceivedReports()), (std::vector<std::string>{
                                                      "07 04 01 28 00 00 00 00 +5",
                                                      "07 05 01 00 1e 14 00 00 +378",
                                                      "07 0a 01 00 ff 00 00 00 +0",
                                                      "07 07 01 01 00 00 00 00 +0",
                                                      "07 06 01 10 00 00 00 00 +2",
                                                      "07 09 01 01 00 00 00 00 +0",
                                                      "07 08 01 05 01 00 00 00 +0",
                                                      // the button: stage query, then stage 1 + 1
                                                      "07 89 01 00 00 00 00 00 +0",
                                                      "07 09 01 02 00 00 00 00 +0",
                                                  }));
}

INSTANTIATE_TEST_SUITE_P(PressPoints, CommandChannelTest, ::testing::Values(2, 7, 8, 200, 385, 389));

}  // namespace
