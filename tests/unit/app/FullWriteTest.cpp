// Message 0x4DE on the fake platform with the simulated mouse: the progress
// dialog's steps in order with the foreground dance, progress through the
// write, waits that keep the dialog painted while every other message waits
// for the end, and the same steps with no mouse.
#include "tests/support/ContractSteps.h"
#include "tests/support/ExpectSequence.h"
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "app/MursohidDlg.h"
#include "hidsim/host/SimulatedMouse.h"
#include "tests/unit/ui/SkinFixture.h"
#include "ui/ProgressDlg.h"

namespace {

using namespace skintest;

// The write of a profile without macros: settle 200, button table 5 × 10 +
// 1000 + 100, logo 20, scroll 20, stages 3 × 100 + 50, lift-off 20, end 100.
constexpr std::uint64_t kAt50 = 1350;
constexpr std::uint64_t kAt60 = 1390;
constexpr std::uint64_t kAt80 = 1860;

class FullWriteTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        fake.kernel.SetModuleFileName(kExe);
        AddDialogTemplate(fake);
        InstallSkin(fake);
        config = fake.windows.AddForeignWindow(u"Lunket_Driver_Config");
        editor = fake.windows.AddForeignWindow(u"Text Editor");
        fake.windows.SetForeground(editor);
        mouse = std::make_unique<SimulatedMouse>(fake, GetParam() ? SimMouseConfig{} : UnpluggedMouse());
        service = std::make_unique<CMursohidDlg>();
        ASSERT_TRUE(service->CreateServiceWindow());
        fake.windows.PumpMessages();
    }
    void TearDown() override {
        mouse->Library().SetLogSink(nullptr);
        service->DestroyWindow();
        service.reset();
        EXPECT_TRUE(fake.Hangs().empty());
        EXPECT_TRUE(fake.graphics.Misuses().empty());
        EXPECT_EQ(fake.graphics.LiveObjects(), 0);
        SetPlatform(nullptr);
    }

    // The progress dialog while it exists (no recorded call is made).
    CProgressDlg* Dialog() {
        for (const FakeWindow& window : fake.windows.Windows())
            if (window.alive && window.className == u"#32770")
                return dynamic_cast<CProgressDlg*>(CWnd::FromHandle(window.hwnd));
        return nullptr;
    }
    static std::string Hex(HWND hwnd) { return FakeHex(reinterpret_cast<std::uintptr_t>(hwnd)); }

    FakePlatform fake;
    HWND config = nullptr;
    HWND editor = nullptr;
    std::unique_ptr<SimulatedMouse> mouse;
    std::unique_ptr<CMursohidDlg> service;
};

TEST_P(FullWriteTest, TheDialogShowsInFrontStepsThroughTheWriteAndGoesBeforeDoneIsPosted) {
    const bool plugged = GetParam();
    std::vector<int> positionsAtReports;
    mouse->Library().SetLogSink([&](const std::string& line) {
        const bool report = line.find(" ff00 ") != std::string::npos || line.find(" ff01 ") != std::string::npos;
        if (CProgressDlg* dialog = Dialog(); dialog != nullptr && report) {
            const int position = dialog->ProgressBar().GetPosition();
            if (positionsAtReports.empty() || positionsAtReports.back() != position)
                positionsAtReports.push_back(position);
        }
    });
    const DWORD editorThread = fake.windows.GetWindowThreadProcessId(editor);
    fake.ClearCalls();
    const std::uint64_t origin = fake.Now();
    fake.windows.PostMessageW(service->GetSafeHwnd(), kMsgFullWrite, 0, 0);
    fake.windows.PumpMessages();

    HWND dialog = nullptr;
    HWND bar = nullptr;
    for (const FakeWindow& window : fake.windows.Windows()) {
        if (window.className == u"#32770") dialog = window.hwnd;
        if (window.className == kPlainChildWindowClass) bar = window.hwnd;
    }
    ASSERT_NE(dialog, nullptr);
    const std::uint64_t end = plugged ? kAt80 : 0;
    std::vector<Step> expected = {
        Posted(kMsgFullWrite, 0).At(0),
        Step("CreateDialogParamW 129").At(0),
        Step("SetWindowPos " + Hex(dialog) + " top 0 0 40 12 0x16").At(0),
        Step("SetWindowTextW PEVO_PROCESSBAR").At(0),
        Step("SetWindowPos PEVO_PROCESSBAR topmost 620 506 0 0 0x1").At(0),  // centred, size kept
        Step("SetWindowTextW QZNDorvantisProgressbar").At(0),
        Step("UpdateWindow " + Hex(bar)).At(0),  // progress 0
        Step("ShowWindow QZNDorvantisProgressbar 5").At(0),
        Step("AttachThreadInput " + std::to_string(editorThread) + " 1000 1").At(0),
        Step("SetForegroundWindow").At(0),
        Step("AttachThreadInput " + std::to_string(editorThread) + " 1000 0").At(0),
    };
    if (plugged) {
        // 20; the bar's steps towards 50 while the table goes out (21 after
        // its fourth report, then one step per 250 ms of the 1,000 ms wait:
        // 27, 34, 40, 47); 50, 60, 80.
        for (std::uint64_t at : {std::uint64_t{0}, std::uint64_t{240}, std::uint64_t{500}, std::uint64_t{750},
                                 std::uint64_t{1000}, std::uint64_t{1250}, kAt50, kAt60, kAt80})
            expected.push_back(Step("UpdateWindow " + Hex(bar)).At(at));
    }
    for (Step step : {Step("UpdateWindow " + Hex(bar)).At(end),  // 100
                      Step("ShowWindow QZNDorvantisProgressbar 0").At(end + 50),
                      Step("DestroyWindow").At(end + 50)})
        expected.push_back(step);
    expected += PostedToSibling(kFullWritePosts, end + 50);
    EXPECT_TRUE(SequenceMatches(
        Events(fake,
               {"PostMessageW", "CreateDialogParamW", "SetWindowPos", "SetWindowTextW",
                "ShowWindow", "AttachThreadInput", "SetForegroundWindow", "UpdateWindow", "DestroyWindow", "FindWindowW"},
               origin),
        expected));

    // The table's fifth data report goes out at 21.
    EXPECT_EQ(positionsAtReports, plugged ? (std::vector<int>{20, 21, 50, 60}) : std::vector<int>{});
    EXPECT_EQ(FilledColumns(fake, bar, kWidth, kHeight / 2), kWidth) << "full before it went";
    EXPECT_EQ(fake.windows.GetForegroundWindow(), nullptr) << "the dialog had the front until it went";
    EXPECT_FALSE(fake.windows.IsInputAttached(editorThread, FakePlatform::kMainThreadId));
    const auto done = fake.windows.PostedTo(config);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].message, kNotifyFullWriteDone);
    EXPECT_EQ(done[0].wParam, 0u);
    EXPECT_EQ(done[0].lParam, 0);

    // Every wait of the write kept the dialog painted: none was a plain sleep.
    const auto waits = Events(fake, {"Sleep", "MsgWaitForMultipleObjects"}, origin);
    EXPECT_FALSE(waits.empty());
    for (const auto& event : waits) {
        ASSERT_EQ(event.Text.rfind("MsgWaitForMultipleObjects ", 0), 0u) << event.Text;
        EXPECT_EQ(event.Text.substr(event.Text.size() - 5), " 0x20") << "paint only";
    }
    EXPECT_EQ(fake.Now() - origin, end + 50);
}

INSTANTIATE_TEST_SUITE_P(MouseOrNone, FullWriteTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Plugged" : "NoMouse"; });

class FullWriteWaitTest : public FullWriteTest {};

TEST_P(FullWriteWaitTest, WaitsPaintTheUncoveredDialogAndLeaveAPostedMessageForAfterDone) {
    std::uint64_t uncoveredAt = 0;
    mouse->Library().SetLogSink([&](const std::string& line) {
        if (uncoveredAt != 0 || line.find(" ff00 ") == std::string::npos) return;
        // During the first data report: a window that lay over the dialog
        // goes away, and the configuration program asks for another write.
        CProgressDlg* dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        uncoveredAt = fake.Now();
        fake.windows.InvalidateRect(dialog->GetSafeHwnd(), nullptr, TRUE);
        fake.windows.PostMessageW(service->GetSafeHwnd(), kMsgFullWrite, 0, 0);
    });
    fake.ClearCalls();
    fake.windows.PostMessageW(service->GetSafeHwnd(), kMsgFullWrite, 0, 0);
    fake.windows.PumpMessages();
    ASSERT_NE(uncoveredAt, 0u);

    const auto timeline = fake.Timeline();
    auto indexOf = [&](const std::string& prefix, std::size_t from) {
        for (std::size_t i = from; i < timeline.size(); ++i)
            if (timeline[i].Call.rfind(prefix, 0) == 0) return i;
        return timeline.size();
    };
    const std::size_t uncovered = indexOf("InvalidateRect QZNDorvantisProgressbar erase", 0);
    const std::size_t firstDone = indexOf(Posted(kNotifyFullWriteDone, 0).Text, 0);
    ASSERT_LT(uncovered, firstDone);
    // The next wait takes the dialog's and the bar's paint messages at once.
    const std::size_t wait = indexOf("MsgWaitForMultipleObjects", uncovered);
    const std::size_t painted = indexOf("BeginPaint", uncovered);
    EXPECT_EQ(painted, indexOf("PeekMessageW", wait) + 1);
    EXPECT_EQ(timeline[painted].Time, uncoveredAt);
    EXPECT_LT(indexOf("BeginPaint", painted + 1), indexOf("MsgWaitForMultipleObjects", wait + 1))
        << "the bar is painted in the same wake";
    EXPECT_LT(painted, firstDone);
    // The second request waited in the queue: its dialog comes after done.
    const std::size_t firstDialog = indexOf("CreateDialogParamW 129", 0);
    const std::size_t secondDialog = indexOf("CreateDialogParamW 129", firstDialog + 1);
    EXPECT_LT(firstDone, secondDialog);
    EXPECT_LT(secondDialog, timeline.size());
    EXPECT_EQ(timeline[secondDialog].Time, timeline[firstDone].Time);
    EXPECT_EQ(fake.windows.PostedTo(config).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Plugged, FullWriteWaitTest, ::testing::Values(true));

// Under Wine a paint-only peek runs the messages other threads send and the
// foreground hook's calls (the fake does the same). During the write a
// configuration program sends 0x4E3 and another program comes to the front:
// both wait for the write's end and are handled after it, in order, and
// the mouse receives the write's streams whole.
TEST_P(FullWriteWaitTest, AMessageSentAndAForegroundEventDuringTheWriteAreHandledAfterItInOrder) {
    std::thread sender;
    HWND other = fake.windows.AddForeignWindow(u"Other Program");
    fake.windows.SetWindowProcess(other, 4242);
    fake.kernel.AddProcess(4242, u"C:\\Programs\\other.exe");
    int reports = 0;
    mouse->Library().SetLogSink([&](const std::string& line) {
        if (line.find(" ff0") == std::string::npos || ++reports != 3) return;
        sender = std::thread([this] { fake.windows.SendMessageW(service->GetSafeHwnd(), kMsgWriteStages, 2, 0); });
        // Until the send waits for the window's thread (real time, bounded).
        for (int i = 0; i < 2000 && fake.windows.MsgWaitForMultipleObjects(0, QS_SENDMESSAGE) != WAIT_OBJECT_0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        fake.windows.SetForeground(other);
    });
    fake.ClearCalls();
    fake.windows.PostMessageW(service->GetSafeHwnd(), kMsgFullWrite, 0, 0);
    fake.windows.PumpMessages();
    sender.join();
    mouse->Library().SetLogSink(nullptr);

    const auto timeline = fake.Timeline();
    auto indexOf = [&](const std::string& prefix, std::size_t from) {
        for (std::size_t i = from; i < timeline.size(); ++i)
            if (timeline[i].Call.rfind(prefix, 0) == 0) return i;
        return timeline.size();
    };
    const std::size_t done = indexOf("PostMessageW 0x4e1", 0);
    ASSERT_LT(done, timeline.size());
    // The write's commands all come before done; the kept 0x4E3's stage
    // table and the foreground check come after it, in the order they came.
    std::vector<std::string> commands;
    for (const auto& r : mouse->Library().ReceivedReports())
        if (r.Usage == kCommandUsage) commands.push_back(std::to_string(r.Bytes[1]));
    EXPECT_EQ(commands, (std::vector<std::string>{"4", "10", "7", "6", "9", "8", "6", "9"}))
        << "the write (04, 0a, 07, 06, 09, 08), then 0x4E3 (06, 09)";
    const std::size_t snapshot = indexOf("OpenProcess", 0);
    ASSERT_LT(snapshot, timeline.size()) << "the foreground was checked";
    EXPECT_LT(done, snapshot) << "the foreground check waited for the write";
    const std::size_t stageTable = indexOf("Sleep 100", done);
    EXPECT_LT(stageTable, snapshot) << "0x4E3 came first, and was handled first";
}
}  // namespace
