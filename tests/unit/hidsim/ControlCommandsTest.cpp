// The simulated mouse's control language, request by request.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "hidsim/ControlCommands.h"
#include "hidsim/SimExports.h"
#include "hidsim/host/SimulatedMouse.h"

namespace {

class ControlCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        HidSim_SetMatch(kMatchRecord);
        HidSim_Open(nullptr, 0x502);
    }
    void TearDown() override {
        mouse->WaitUntilDelivered();
        SetPlatform(nullptr);
    }
    std::string Run(const std::string& request) { return ExecuteControlCommand(mouse.Library(), request); }

    FakePlatform fake;
    SimulatedMouse mouse{fake};
};

TEST_F(ControlCommandsTest, RequestsAndTheirAnswers) {
    const std::pair<const char*, const char*> cases[] = {
        {"status", "ok\nplugged=1\n"},
        {"press 3", "ok\n"},
        {"release 0x09", "ok\n"},
        {"report 03 f0", "ok\n"},
        {"report 03 1ff", "error: bad byte 1ff\n"},
        {"report zz", "error: bad byte zz\n"},
        {"press", "error: unknown request\n"},
        {"press -1", "error: bad button index\n"},
        {"", "error: empty request\n"},
        {"unplug", "ok\n"},
        {"status", "ok\nplugged=0\n"},
        {"press 3", "error: mouse not open\n"},
        {"plug", "ok\n"},
        {"log", "ok\n"},
        {"clear-log", "ok\n"},
        {"hello", "error: unknown request\n"},
    };
    for (const auto& [request, answer] : cases) EXPECT_EQ(Run(request), answer) << request;
}

TEST_F(ControlCommandsTest, LogAndMemoryShowWhatTheMouseReceived) {
    const BYTE report[8] = {0x07, 0x17, 0x2A};
    HidSim_WriteCommand(kSimCommandDeviceId, report, 8);
    EXPECT_EQ(Run("log"), "ok\n0 ff01 07 17 2a 00 00 00 00 00\n");
    const std::string memory = Run("memory");
    EXPECT_EQ(memory.compare(0, 3, "ok\n"), 0);
    EXPECT_NE(memory.find("\nstate=42\n"), std::string::npos);
    EXPECT_NE(memory.find("\nbuttons=" + std::string(80, '0') + "\n"), std::string::npos);
    EXPECT_NE(memory.find("\nmacros=" + std::string(6040, '0') + "\n"), std::string::npos);
}

void HID_CALLBACK IgnoreReport(DWORD, const BYTE*, DWORD) {}

TEST_F(ControlCommandsTest, TheLogShowsEveryReportTheMouseSendsWhenItIsDelivered) {
    HidSim_SetCallback(&IgnoreReport);
    std::vector<std::string> lines;
    std::mutex linesLock;
    mouse->SetLogSink([&](const std::string& line) {
        std::lock_guard<std::mutex> guard(linesLock);
        lines.push_back(line);
    });
    EXPECT_EQ(Run("press 3"), "ok\n");
    mouse->WaitUntilDelivered();
    EXPECT_EQ(Run("report 03 f2"), "ok\n");
    mouse->WaitUntilDelivered();
    EXPECT_EQ(Run("unplug"), "ok\n");
    EXPECT_EQ(Run("release 3"), "error: mouse not open\n");
    std::lock_guard<std::mutex> guard(linesLock);
    EXPECT_EQ(lines, (std::vector<std::string>{"0 input 00 07 42 00 03 01 00 00 00", "0 input 03 f2", "0 unplug"}));
}

}  // namespace
