// Painting and paint-only waits, as one set of cases run against the fake
// platform on the host and against the real functions under Wine: WM_PAINT
// comes after the posted messages, a paint-only peek leaves them queued,
// UpdateWindow paints at once, BeginPaint validates, a hidden window is not
// painted, and a paint-only wait wakes for a paint and otherwise times out.
// (Which process may take the foreground is not among them: Wine lets a
// background process take it, Windows does not; the fake follows Windows.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/conformance/ConformancePlatform.h"

namespace {

constexpr UINT kPosted = WM_USER + 0x300;
constexpr char16_t kClass[] = u"PaintConformanceClass";

// Records WM_PAINT (validating through BeginPaint) and the posted probes.
class Painted final : public WindowMessageTarget {
public:
    LRESULT HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            seen.push_back("paint");
            PAINTSTRUCT paint{};
            Sys().Graphics.BeginPaint(hwnd, &paint);
            Sys().Graphics.EndPaint(hwnd, &paint);
            return 0;
        }
        if (message >= kPosted && message < kPosted + 10) {
            seen.push_back("posted " + std::to_string(message - kPosted));
            return 0;
        }
        return Sys().Windows.DefWindowProcW(hwnd, message, wParam, lParam);
    }
    std::vector<std::string> seen;
};

std::string Joined(const std::vector<std::string>& seen) {
    std::string out;
    for (const auto& s : seen) out += s + "; ";
    return out;
}

class PaintConformance : public ::testing::Test {
protected:
    void SetUp() override {
        platform_ = MakeConformancePlatform();
        SetPlatform(&platform_->Get());
        WindowCreation creation;
        creation.className = kClass;
        creation.title = u"Paint Conformance";
        creation.style = WS_POPUP | WS_VISIBLE;
        creation.x = 10;
        creation.y = 10;
        creation.width = 60;
        creation.height = 40;
        window_ = Sys().Windows.CreateWindowExW(creation, &painted_);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        Sys().Windows.DestroyWindow(window_);
        SetPlatform(nullptr);
        platform_.reset();
    }

    // Dispatches everything queued, at most `limit` messages.
    void Drain(int limit = 200) {
        MSG msg{};
        for (int i = 0; i < limit && Sys().Windows.PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
            Sys().Windows.DispatchMessageW(&msg);
    }
    bool PaintQueued() {
        MSG msg{};
        return Sys().Windows.PeekMessageW(&msg, window_, WM_PAINT, WM_PAINT, PM_NOREMOVE | PM_QS_PAINT) != FALSE;
    }

    std::unique_ptr<ConformancePlatform> platform_;
    Painted painted_;
    HWND window_ = nullptr;
};

TEST_F(PaintConformance, PaintComesAfterThePostedMessages) {
    Sys().Windows.PostMessageW(window_, kPosted + 1, 0, 0);
    Sys().Windows.PostMessageW(window_, kPosted + 2, 0, 0);
    Drain();
    ASSERT_GE(painted_.seen.size(), 3u) << Joined(painted_.seen);
    EXPECT_EQ(painted_.seen[0], "posted 1") << Joined(painted_.seen);
    EXPECT_EQ(painted_.seen[1], "posted 2");
    EXPECT_EQ(painted_.seen[2], "paint");
}

TEST_F(PaintConformance, APaintOnlyPeekTakesThePaintAndLeavesPostedMessagesQueued) {
    Sys().Windows.PostMessageW(window_, kPosted + 1, 0, 0);
    MSG msg{};
    ASSERT_TRUE(Sys().Windows.PeekMessageW(&msg, window_, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT));
    EXPECT_EQ(msg.message, WM_PAINT);
    EXPECT_EQ(msg.hwnd, window_);
    Sys().Windows.DispatchMessageW(&msg);
    EXPECT_FALSE(PaintQueued()) << "BeginPaint validated the window";
    EXPECT_EQ(painted_.seen, (std::vector<std::string>{"paint"}));
    ASSERT_TRUE(Sys().Windows.PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, kPosted + 1) << "still queued after the paint-only peek";
}

TEST_F(PaintConformance, UpdateWindowPaintsAtOnceAndLeavesNoPaintQueued) {
    Drain();
    painted_.seen.clear();
    ASSERT_TRUE(Sys().Windows.InvalidateRect(window_, nullptr, TRUE));
    EXPECT_TRUE(PaintQueued());
    Sys().Windows.UpdateWindow(window_);
    EXPECT_EQ(painted_.seen, (std::vector<std::string>{"paint"}));
    EXPECT_FALSE(PaintQueued());
}

TEST_F(PaintConformance, AHiddenWindowIsNotPaintedUntilShown) {
    Drain();
    Sys().Windows.ShowWindow(window_, SW_HIDE);
    Drain();
    painted_.seen.clear();
    Sys().Windows.InvalidateRect(window_, nullptr, TRUE);
    EXPECT_FALSE(PaintQueued());
    Sys().Windows.ShowWindow(window_, SW_SHOW);
    EXPECT_TRUE(PaintQueued());
    Drain();
    EXPECT_EQ(painted_.seen, (std::vector<std::string>{"paint"}));
}

TEST_F(PaintConformance, APaintOnlyWaitWakesForAPaintAndOtherwiseTimesOut) {
    // A real display may still expose the new window after the first paint:
    // settle until a short paint-only wait finds nothing.
    for (int i = 0; i < 20 && Sys().Windows.MsgWaitForMultipleObjects(100, QS_PAINT) != WAIT_TIMEOUT; ++i) Drain();
    Drain();
    const long long before = platform_->VirtualNow();
    EXPECT_EQ(Sys().Windows.MsgWaitForMultipleObjects(30, QS_PAINT), WAIT_TIMEOUT);
    if (before >= 0) {
        EXPECT_EQ(platform_->VirtualNow() - before, 30);
    }
    // A posted message does not wake a paint-only wait.
    Sys().Windows.PostMessageW(window_, kPosted + 1, 0, 0);
    EXPECT_EQ(Sys().Windows.MsgWaitForMultipleObjects(30, QS_PAINT), WAIT_TIMEOUT);
    Sys().Windows.InvalidateRect(window_, nullptr, FALSE);
    const long long invalidated = platform_->VirtualNow();
    EXPECT_EQ(Sys().Windows.MsgWaitForMultipleObjects(5000, QS_PAINT), WAIT_OBJECT_0);
    if (invalidated >= 0) {
        EXPECT_EQ(platform_->VirtualNow(), invalidated) << "no time passed";
    }
    Drain();
}

}  // namespace
