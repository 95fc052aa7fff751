// The device guard reopens the mouse from the input thread when a
// resolution-stage button is pressed while the mouse is not open, and the
// library announces the opened collections by sending 0x502 to the main
// window, which makes the input thread wait for the main thread. Whatever
// the main thread does meanwhile (closing the mouse, handling 0x502,
// sleeping), the service must never hang: it keeps answering, and it ends
// cleanly when closed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/wine/actions/ActionsRig.h"

namespace {

using namespace e2e;

constexpr int kCycles = 120;

// The six resolution-stage functions on buttons 0 to 5.
std::vector<Assignment> StageButtons() {
    return {{0, 7}, {1, 8}, {2, 29}, {3, 30}, {4, 6}, {5, 64}};
}

int OpensInMouseLog(const std::wstring& log) {
    int opens = 0;
    for (const auto& line : LogLines(log))
        if (line.find(" open ") != std::string::npos) ++opens;
    return opens;
}

// Presses and releases the stage buttons in turn from a thread of its own
// until stopped; requests that find the mouse unplugged are simply refused.
class Presser {
public:
    explicit Presser(const ActionsRig& rig) : rig_(rig), thread_([this] { Run(); }) {}
    ~Presser() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int Presses() const { return presses_; }

private:
    void Run() {
        for (int b = 0; !stop_; b = (b + 1) % 6) {
            if (rig_.Press(b)) ++presses_;
            rig_.Release(b);
        }
    }
    const ActionsRig& rig_;
    std::atomic<bool> stop_{false};
    std::atomic<int> presses_{0};
    std::thread thread_;
};

class DeviceReopenE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        rig.Assign(StageButtons());
    }
    ActionsRig rig;
};

TEST_F(DeviceReopenE2E, UnplugAndPlugWhileStageButtonsArePressedNeverHangs) {
    // Started without the mouse: the first stage press after a plug reopens
    // it from the input thread.
    ASSERT_TRUE(rig.StartService(false));
    ASSERT_TRUE(rig.Control("plug"));
    ASSERT_TRUE(rig.Press(0));
    ASSERT_TRUE(rig.Answers(5000));
    {
        Presser presser(rig);
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            ASSERT_TRUE(rig.Control("unplug")) << cycle;
            ASSERT_TRUE(rig.Control("plug")) << cycle;
            if (cycle % 20 == 19) {
                ASSERT_TRUE(rig.Answers(5000)) << "no answer after cycle " << cycle;
            }
        }
        presser.Stop();
        std::printf("%d cycles, %d presses delivered, %d opens of the mouse\n", kCycles, presser.Presses(),
                    OpensInMouseLog(rig.MouseLog()));
    }
    ASSERT_TRUE(rig.Answers(5000));
    // Closing while the buttons are still being pressed.
    Presser presser(rig);
    Sleep(200);
    EXPECT_TRUE(rig.CloseService()) << "the service did not end cleanly";
    presser.Stop();
}

// The main thread closes the mouse while the input thread reopens it: the
// guard of the shut-down's state report finds no mouse, the mouse is plugged
// in during the shut-down's pause and a stage button pressed, so the input
// thread opens the mouse and waits for the main thread to take the
// collections' 0x502, just as the main thread goes on to close the mouse.
TEST_F(DeviceReopenE2E, ClosingTheMouseWhileTheInputThreadReopensItEndsCleanly) {
    ASSERT_TRUE(rig.StartService(false));
    const int opensBefore = OpensInMouseLog(rig.MouseLog());
    PostMessageW(rig.Service().window, WM_CLOSE, 0, 0);
    const DWORD start = GetTickCount();
    while (OpensInMouseLog(rig.MouseLog()) == opensBefore && GetTickCount() - start < 5000) Sleep(5);
    ASSERT_EQ(OpensInMouseLog(rig.MouseLog()), opensBefore + 1) << "the state report's guard tried to open";
    ASSERT_TRUE(rig.Control("plug"));
    ASSERT_TRUE(rig.Press(0));
    DWORD exitCode = 1;
    const bool ended = rig.Service().process.Wait(15000, &exitCode);
    EXPECT_TRUE(ended) << "the service hangs in its shut-down";
    EXPECT_EQ(exitCode, 0u);
    if (!ended) rig.Service().process.Kill();
    const auto lines = LogLines(rig.MouseLog());
    for (const auto& line : lines) std::printf("  mouse: %s\n", line.c_str());
}

}  // namespace
