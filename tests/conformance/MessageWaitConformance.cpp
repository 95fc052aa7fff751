// What a paint-only wait lets through, as one set of cases run against the
// fake platform on the host and against the real functions under Wine: a
// message sent from another thread, and an out-of-context event hook's
// pending event (the foreground watch's), while the thread takes only its
// paint messages (PeekMessageW with PM_QS_PAINT, MsgWaitForMultipleObjects
// with QS_PAINT) and when it then takes its sent messages.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <string>
#include <vector>

#include "tests/conformance/ConformancePlatform.h"

namespace {

constexpr UINT kSentProbe = WM_USER + 0x400;
constexpr char16_t kClass[] = u"MessageWaitConformanceClass";
constexpr DWORD kLookupMs = 10;
constexpr int kLookups = 500;

class Seen final : public WindowMessageTarget {
public:
    LRESULT HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kSentProbe) {
            ++sent;
            return static_cast<LRESULT>(wParam + 1);
        }
        return Sys().Windows.DefWindowProcW(hwnd, message, wParam, lParam);
    }
    std::atomic<int> sent{0};
};

struct Sender {
    HWND target = nullptr;
    std::atomic<LRESULT> answer{-1};
    std::atomic<bool> done{false};
};

DWORD PLATFORM_THREAD_CALL SendFromAnotherThread(void* parameter) {
    auto* sender = static_cast<Sender*>(parameter);
    sender->answer = Sys().Windows.SendMessageW(sender->target, kSentProbe, 6, 0);
    sender->done = true;
    return 0;
}

class MessageWaitConformance : public ::testing::Test {
protected:
    void SetUp() override {
        platform_ = MakeConformancePlatform();
        SetPlatform(&platform_->Get());
        WindowCreation creation;
        creation.className = kClass;
        creation.title = u"Message Wait Conformance";
        creation.style = WS_POPUP;
        creation.width = 20;
        creation.height = 20;
        window_ = Sys().Windows.CreateWindowExW(creation, &seen_);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (hook_ != nullptr) Sys().Windows.UnhookWinEvent(hook_);
        Sys().Windows.DestroyWindow(window_);
        SetPlatform(nullptr);
        platform_.reset();
    }

    // Where a pending message ran: during the paint-only peek, during the
    // paint-only wait, or only when the sent messages were taken.
    template <typename Ran>
    std::string WhereItRuns(Ran ran) {
        MSG msg{};
        Sys().Windows.PeekMessageW(&msg, window_, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT);
        if (ran()) return "paint-only peek";
        Sys().Windows.MsgWaitForMultipleObjects(0, QS_PAINT);
        if (ran()) return "paint-only wait";
        Sys().Windows.HandleSentMessages();
        if (ran()) return "sent messages taken";
        return "never";
    }

    std::unique_ptr<ConformancePlatform> platform_;
    Seen seen_;
    HWND window_ = nullptr;
    HANDLE hook_ = nullptr;
};

TEST_F(MessageWaitConformance, AMessageSentFromAnotherThreadWaitsThroughAPaintOnlyWait) {
    Sender sender;
    sender.target = window_;
    DWORD id = 0;
    HANDLE thread = Sys().Kernel.CreateThread(0, SendFromAnotherThread, &sender, &id);
    ASSERT_NE(thread, nullptr);
    Sys().Kernel.CloseHandle(thread);
    // Until the send waits for this thread (a wait that wakes for sent
    // messages; the fake's returns at once, so it is asked again).
    bool pending = false;
    for (int i = 0; i < kLookups && !pending; ++i) {
        pending = Sys().Windows.MsgWaitForMultipleObjects(kLookupMs, QS_SENDMESSAGE) == WAIT_OBJECT_0;
        if (!pending) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(pending);
    EXPECT_EQ(seen_.sent.load(), 0) << "a wait that wakes for a sent message does not run it";
    // Windows and Wine alike: any peek runs the messages other threads sent,
    // whatever kinds it asks for. A paint-only wait is no fence.
    EXPECT_EQ(WhereItRuns([&] { return seen_.sent.load() != 0; }), "paint-only peek");
    for (int i = 0; i < 500 && !sender.done.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(sender.answer.load(), 7);
}

TEST_F(MessageWaitConformance, AnOutOfContextEventWaitsThroughAPaintOnlyWaitAndComesWithTheSentMessages) {
    std::vector<DWORD> events;
    hook_ = Sys().Windows.SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND,
                                          [&](DWORD event, HWND) { events.push_back(event); });
    ASSERT_NE(hook_, nullptr);
    ASSERT_TRUE(platform_->RaiseForeignForegroundEvent()) << "another program's window came to the front";
    EXPECT_TRUE(events.empty()) << "the event waits for this thread";
    // It comes like a message sent from another thread.
    EXPECT_EQ(WhereItRuns([&] { return !events.empty(); }), "paint-only peek");
    EXPECT_EQ(events, std::vector<DWORD>{EVENT_SYSTEM_FOREGROUND});
}

}  // namespace
