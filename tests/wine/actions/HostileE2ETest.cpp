// Another program on the desktop forges the messages only the system may
// send (destruction, quit, creation, a timer naming a procedure) to the
// service's window and thread: the service lives on and a press still
// becomes input; a real WM_CLOSE then runs the whole shut-down once (the
// mouse gets its last state report).
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/actions/ActionsRig.h"

namespace {

using namespace e2e;

constexpr int kRightButton = 3;

class HostileE2E : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set"; }
    ActionsRig rig;
};

std::size_t CountLogged(const std::wstring& log, const std::string& report) {
    std::size_t n = 0;
    for (const auto& line : LogLines(log)) n += line.find(report) != std::string::npos;
    return n;
}

TEST_F(HostileE2E, ForgedLifecycleMessagesLeaveTheServiceWorkingAndTheShutDownRunsOnce) {
    rig.Assign({{2, kRightButton}});
    ASSERT_TRUE(rig.Start());
    const HWND window = rig.Service().window;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    DWORD_PTR result = 0;
    PostMessageW(window, WM_DESTROY, 0, 0);
    PostMessageW(window, WM_NCDESTROY, 0, 0);
    PostMessageW(window, WM_QUIT, 0, 0);
    PostThreadMessageW(thread, WM_QUIT, 0, 0);
    PostMessageW(window, WM_TIMER, 4242, static_cast<LPARAM>(0x12345678));
    SendMessageTimeoutW(window, WM_CREATE, 0, 0, SMTO_NORMAL, 5000, &result);
    SendMessageTimeoutW(window, WM_NCCREATE, 0, 0, SMTO_NORMAL, 5000, &result);
    // Everything posted before it has been handled once this answers.
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) << "the window answers";
    ASSERT_TRUE(rig.Service().process.Running());
    EXPECT_EQ(CountLogged(rig.MouseLog(), "ff01 07 17 00"), 0u) << "no shut-down ran";

    ASSERT_TRUE(rig.Press(2));
    ASSERT_TRUE(rig.Release(2));
    EXPECT_TRUE(rig.Recorder().WaitForInjected(2, 5000)) << "a press still becomes input";

    EXPECT_TRUE(rig.CloseService());
    EXPECT_EQ(CountLogged(rig.MouseLog(), "ff01 07 17 00"), 1u) << "the shut-down's last state report, once";
}

}  // namespace
