// Window and message behaviour the service relies on, as one table of cases
// run against the fake platform on the host and against the real functions
// under Wine: post order, quit ordering, timers, thread messages, sends
// across threads, and finding windows by title.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "tests/conformance/ConformancePlatform.h"

namespace {

constexpr UINT kProbe = WM_USER + 0x100;      // test messages: kProbe + n
constexpr UINT kReady = WM_USER + 0x200;      // the second thread has its window
constexpr UINT kReply = WM_USER + 0x201;      // the second thread answers
constexpr UINT kDone = WM_USER + 0x202;       // the second thread has finished
constexpr UINT kAskBack = WM_USER + 0x203;    // the second thread sends to the main window
constexpr char16_t kClass[] = u"ConformanceProbeClass";

// One message as a window or thread saw it.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
    bool operator==(const Seen& o) const {
        return message == o.message && wParam == o.wParam && lParam == o.lParam && thread == o.thread;
    }
};

std::string Describe(const std::vector<Seen>& seen) {
    std::string out;
    for (const auto& s : seen)
        out += "  msg=" + std::to_string(s.message) + " w=" + std::to_string(s.wParam) +
               " l=" + std::to_string(s.lParam) + " thread=" + std::to_string(s.thread) + "\n";
    return out;
}

// A window that records every message at or above WM_USER, and timers.
class Probe final : public WindowMessageTarget {
public:
    LRESULT HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER || message == WM_TIMER) {
            std::lock_guard<std::mutex> guard(lock);
            seen.push_back(Seen{message, wParam, lParam, Sys().Kernel.GetCurrentThreadId()});
            return static_cast<LRESULT>(wParam * 10 + 1);
        }
        return Sys().Windows.DefWindowProcW(hwnd, message, wParam, lParam);
    }
    std::vector<Seen> Seen_() {
        std::lock_guard<std::mutex> guard(lock);
        return seen;
    }
    std::mutex lock;
    std::vector<Seen> seen;
};

HWND MakeWindow(Probe& probe, const Text& title, HWND parent = nullptr, DWORD style = WS_POPUP,
                RECT at = RECT{0, 0, 10, 10}) {
    WindowCreation creation;
    creation.className = kClass;
    creation.title = title;
    creation.style = style;
    creation.x = at.left;
    creation.y = at.top;
    creation.width = at.right - at.left;
    creation.height = at.bottom - at.top;
    creation.parent = parent;
    return Sys().Windows.CreateWindowExW(creation, &probe);
}

// Runs the calling thread's loop until `stop` has been dispatched; at most
// `limit` messages. Returns what GetMessageW answered last.
BOOL RunUntil(UINT stop, int limit = 100) {
    MSG msg{};
    BOOL got = 0;
    for (int i = 0; i < limit; ++i) {
        got = Sys().Windows.GetMessageW(&msg);
        if (got <= 0) return got;
        Sys().Windows.DispatchMessageW(&msg);
        if (msg.message == stop) return got;
    }
    return got;
}

// The second thread: makes its own window, says so, runs its loop until a
// quit arrives, then says it is done.
struct SecondThread {
    HWND mainWindow = nullptr;
    Probe probe;
    std::atomic<HWND> window{nullptr};
    std::atomic<DWORD> id{0};
    std::vector<Seen> threadMessages;  // messages without a window
    bool askBack = false;              // send kAskBack to the main window first
    LRESULT askBackResult = 0;
};

DWORD PLATFORM_THREAD_CALL SecondThreadRoutine(void* parameter) {
    auto* self = static_cast<SecondThread*>(parameter);
    self->id = Sys().Kernel.GetCurrentThreadId();
    HWND own = MakeWindow(self->probe, u"Conformance Second");
    self->window = own;
    if (self->askBack) self->askBackResult = Sys().Windows.SendMessageW(self->mainWindow, kAskBack, 4, 0);
    Sys().Windows.PostMessageW(self->mainWindow, kReady, 0, 0);
    MSG msg{};
    while (Sys().Windows.GetMessageW(&msg) > 0) {
        if (msg.hwnd == nullptr) {
            self->threadMessages.push_back(Seen{msg.message, msg.wParam, msg.lParam, self->id});
            Sys().Windows.PostMessageW(self->mainWindow, kReply, msg.wParam, msg.lParam);
        } else {
            Sys().Windows.DispatchMessageW(&msg);
        }
    }
    Sys().Windows.DestroyWindow(own);
    Sys().Windows.PostMessageW(self->mainWindow, kDone, 0, 0);
    return 0;
}

class WindowConformance : public ::testing::Test {
protected:
    void SetUp() override {
        platform_ = MakeConformancePlatform();
        SetPlatform(&platform_->Get());
        main_ = MakeWindow(probe_, u"Conformance Probe Window");
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        if (main_ != nullptr) Sys().Windows.DestroyWindow(main_);
        SetPlatform(nullptr);
        platform_.reset();
    }

    // Starts the second thread and waits until its window exists.
    void StartSecond(SecondThread& second) {
        second.mainWindow = main_;
        DWORD id = 0;
        HANDLE thread = Sys().Kernel.CreateThread(0, SecondThreadRoutine, &second, &id);
        ASSERT_NE(thread, nullptr);
        Sys().Kernel.CloseHandle(thread);
        ASSERT_GT(RunUntil(kReady), 0);
        ASSERT_EQ(second.id.load(), id);
    }
    void StopSecond(SecondThread& second) {
        ASSERT_TRUE(Sys().Windows.PostThreadMessageW(second.id, WM_QUIT, 0, 0));
        ASSERT_GT(RunUntil(kDone), 0);
    }

    std::unique_ptr<ConformancePlatform> platform_;
    Probe probe_;
    HWND main_ = nullptr;
};

TEST_F(WindowConformance, PostedMessagesArriveInOrder) {
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Sys().Windows.PostMessageW(main_, kProbe + i, i, -i));
    ASSERT_GT(RunUntil(kProbe + 2), 0);
    const DWORD self = Sys().Kernel.GetCurrentThreadId();
    const std::vector<Seen> expected = {
        {kProbe, 0, 0, self}, {kProbe + 1, 1, -1, self}, {kProbe + 2, 2, -2, self}};
    EXPECT_EQ(probe_.Seen_(), expected) << "expected:\n" << Describe(expected) << "actual:\n"
                                        << Describe(probe_.Seen_());
}

TEST_F(WindowConformance, QuitComesAfterEveryPostedMessageAndBeforeTimers) {
    ASSERT_NE(Sys().Windows.SetTimer(main_, 3, 10), 0u);
    Sys().Kernel.Sleep(50);  // the timer is due
    Sys().Windows.PostMessageW(main_, kProbe, 1, 0);
    Sys().Windows.PostQuitMessage(7);
    Sys().Windows.PostMessageW(main_, kProbe, 2, 0);
    MSG msg{};
    std::vector<UINT> order;
    BOOL got = 1;
    while (got > 0 && order.size() < 5) {
        got = Sys().Windows.GetMessageW(&msg);
        order.push_back(msg.message);
        if (got > 0) Sys().Windows.DispatchMessageW(&msg);
    }
    EXPECT_EQ(got, 0);
    EXPECT_EQ(order, (std::vector<UINT>{kProbe, kProbe, WM_QUIT}));
    EXPECT_EQ(msg.wParam, 7u);
    Sys().Windows.KillTimer(main_, 3);
}

TEST_F(WindowConformance, PostedMessagesComeBeforeADueTimer) {
    ASSERT_NE(Sys().Windows.SetTimer(main_, 4, 10), 0u);
    Sys().Kernel.Sleep(50);
    Sys().Windows.PostMessageW(main_, kProbe, 9, 0);
    ASSERT_GT(RunUntil(WM_TIMER), 0);
    const auto seen = probe_.Seen_();
    ASSERT_EQ(seen.size(), 2u) << Describe(seen);
    EXPECT_EQ(seen[0].message, kProbe);
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(seen[1].wParam, 4u);
    Sys().Windows.KillTimer(main_, 4);
}

TEST_F(WindowConformance, ATimerFiresAtItsPeriodUntilKilled) {
    const long long start = platform_->VirtualNow();
    ASSERT_NE(Sys().Windows.SetTimer(main_, 5, 100), 0u);
    int fired = 0;
    MSG msg{};
    while (fired < 10 && Sys().Windows.GetMessageW(&msg) > 0) {
        Sys().Windows.DispatchMessageW(&msg);
        if (msg.message == WM_TIMER && msg.wParam == 5) ++fired;
    }
    EXPECT_EQ(fired, 10);
    if (start >= 0) {
        EXPECT_EQ(platform_->VirtualNow() - start, 1000) << "ten periods of virtual time";
    }
    EXPECT_TRUE(Sys().Windows.KillTimer(main_, 5));
    EXPECT_FALSE(Sys().Windows.KillTimer(main_, 5)) << "a killed timer is gone";
}

TEST_F(WindowConformance, ThreadMessagesReachTheThreadWithoutAWindow) {
    SecondThread second;
    StartSecond(second);
    ASSERT_TRUE(Sys().Windows.PostThreadMessageW(second.id, kProbe + 5, 12, 34));
    ASSERT_GT(RunUntil(kReply), 0);
    StopSecond(second);
    EXPECT_EQ(second.threadMessages, (std::vector<Seen>{{kProbe + 5, 12, 34, second.id}}));
    const auto seen = probe_.Seen_();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[1], (Seen{kReply, 12, 34, Sys().Kernel.GetCurrentThreadId()}));
}

TEST_F(WindowConformance, AThreadWithoutAQueueCannotBePostedTo) {
    SecondThread second;
    StartSecond(second);
    const DWORD gone = second.id;
    StopSecond(second);
    // An id that no running thread has. (The error code differs: Windows
    // documents ERROR_INVALID_THREAD_ID, Wine answers ERROR_INVALID_PARAMETER.)
    EXPECT_FALSE(Sys().Windows.PostThreadMessageW(gone + 100000, kProbe, 0, 0));
}

TEST_F(WindowConformance, ASendToAnotherThreadsWindowRunsThereAndWaits) {
    SecondThread second;
    StartSecond(second);
    const LRESULT answer = Sys().Windows.SendMessageW(second.window, kProbe + 7, 3, 0);
    EXPECT_EQ(answer, 31) << "the handler's result comes back";
    const auto seen = second.probe.Seen_();
    ASSERT_EQ(seen.size(), 1u) << Describe(seen);
    EXPECT_EQ(seen[0], (Seen{kProbe + 7, 3, 0, second.id})) << "handled on the window's own thread";
    StopSecond(second);
}

TEST_F(WindowConformance, ASendFromAnotherThreadRunsWhenThisThreadAsksForMessages) {
    SecondThread second;
    second.askBack = true;
    StartSecond(second);  // the second thread sends before it says it is ready
    StopSecond(second);
    EXPECT_EQ(second.askBackResult, 41);
    const auto seen = probe_.Seen_();
    ASSERT_GE(seen.size(), 1u);
    EXPECT_EQ(seen[0], (Seen{kAskBack, 4, 0, Sys().Kernel.GetCurrentThreadId()}));
}

TEST_F(WindowConformance, WindowsAreFoundByTitleWithoutRegardToCase) {
    Probe child;
    HWND inner = MakeWindow(child, u"Conformance Child Title", main_, WS_CHILD);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(Sys().Windows.FindWindowW(Text(), u"Conformance Probe Window"), main_);
    EXPECT_EQ(Sys().Windows.FindWindowW(Text(), u"conformance PROBE window"), main_);
    EXPECT_EQ(Sys().Windows.FindWindowW(kClass, u"Conformance Probe Window"), main_);
    EXPECT_EQ(Sys().Windows.FindWindowW(Text(), u"Conformance Probe"), nullptr) << "whole titles only";
    EXPECT_EQ(Sys().Windows.FindWindowW(u"OtherClass", u"Conformance Probe Window"), nullptr);
    EXPECT_EQ(Sys().Windows.FindWindowW(Text(), u"Conformance Child Title"), nullptr)
        << "child windows are not top-level";
    Sys().Windows.DestroyWindow(inner);
}

TEST_F(WindowConformance, WindowsAreSeenAsTheyLieOnTheScreen) {
    Probe top, lower, upper, owned;
    HWND frame = MakeWindow(top, u"Conformance Frame", nullptr, WS_POPUP | WS_VISIBLE, RECT{300, 300, 500, 400});
    ASSERT_NE(frame, nullptr);
    HWND first = MakeWindow(lower, u"", frame, WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60});
    HWND second = MakeWindow(upper, u"", frame, WS_CHILD | WS_VISIBLE, RECT{30, 30, 80, 80});
    HWND popup = MakeWindow(owned, u"Conformance Owned", frame, WS_POPUP);
    const POINT both{340, 340};  // inside both children; the first one lies on top

    EXPECT_EQ(Sys().Windows.WindowFromPoint(both), first);
    EXPECT_EQ(Sys().Windows.WindowFromPoint(POINT{375, 375}), second);
    EXPECT_EQ(Sys().Windows.WindowFromPoint(POINT{450, 390}), frame);
    EXPECT_EQ(Sys().Windows.ChildWindowFromPoint(frame, both), first);
    EXPECT_EQ(Sys().Windows.ChildWindowFromPoint(frame, POINT{450, 390}), frame);
    EXPECT_EQ(Sys().Windows.ChildWindowFromPoint(frame, POINT{10, 10}), nullptr) << "outside the parent";

    EXPECT_EQ(Sys().Windows.GetWindow(frame, GW_CHILD), first) << "a new child goes below its siblings";
    EXPECT_EQ(Sys().Windows.GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(Sys().Windows.GetWindow(second, GW_HWNDPREV), first);
    EXPECT_EQ(Sys().Windows.GetWindow(second, GW_HWNDNEXT), nullptr);
    std::vector<HWND> children;
    Sys().Windows.EnumChildWindows(frame, [&](HWND child) {
        children.push_back(child);
        return true;
    });
    EXPECT_EQ(children, (std::vector<HWND>{first, second}));

    EXPECT_EQ(Sys().Windows.GetParent(first), frame);
    EXPECT_EQ(Sys().Windows.GetParent(popup), frame) << "a pop-up's parent is its owner";
    EXPECT_EQ(Sys().Windows.GetParent(frame), nullptr);
    RECT rect{};
    ASSERT_TRUE(Sys().Windows.GetWindowRect(first, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<LONG>{310, 310, 360, 360}))
        << "a child's rectangle in screen coordinates";
    EXPECT_EQ(Sys().Windows.GetClassNameW(first), Text(kClass));
    EXPECT_EQ(Sys().Windows.GetWindowThreadProcessId(first), Sys().Kernel.GetCurrentThreadId());
    for (HWND window : {popup, second, first, frame}) Sys().Windows.DestroyWindow(window);
    EXPECT_EQ(Sys().Windows.GetClassNameW(first), Text()) << "a destroyed window has no class";
}

}  // namespace
