#include "scroll/ScrollDelivery.h"

#include "scroll/BrowserScrolling.h"

namespace scroll {
namespace {

WPARAM LineCode(bool toLeft) { return toLeft ? SB_LINELEFT : SB_LINERIGHT; }

// Presses and releases the primary button over the scroll bar's left or
// right arrow, then puts the pointer back where it was.
void ClickScrollArrow(const ScrollSystem& system, const ScrollRequest& request) {
    RECT bar{};
    if (!system.Windows.GetWindowRect(request.Target, &bar)) return;
    const LONG x = request.ToLeft ? bar.left + kArrowClickInset : bar.right - kArrowClickInset;
    const LONG y = bar.top + kArrowClickInset;
    ScrollSender& sender = system.Sender;
    sender.SetCursorPos(x, y);
    const bool swapped = sender.GetSystemMetrics(SM_SWAPBUTTON) != 0;
    const DWORD down = MOUSEEVENTF_ABSOLUTE | (swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    const DWORD up = MOUSEEVENTF_ABSOLUTE | (swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    const auto dx = static_cast<DWORD>(x);
    const auto dy = static_cast<DWORD>(y);
    for (int i = 0; i < request.Steps; ++i) {
        sender.mouse_event(down, dx, dy, 0, 0);
        sender.mouse_event(up, dx, dy, 0, 0);
    }
    sender.SetCursorPos(request.Pointer.x, request.Pointer.y);
}

// The scroll bar's owner scrolls as if the bar's arrow had been used.
void PostScrollBarMessages(const ScrollSystem& system, const ScrollRequest& request) {
    // A bar without a parent has no owner to tell; a message to no window
    // would land in this thread's own queue.
    HWND owner = system.Windows.GetParent(request.Target);
    if (owner == nullptr) return;
    const auto bar = reinterpret_cast<LPARAM>(request.Target);
    for (int i = 0; i < request.Steps; ++i)
        system.Sender.PostMessageW(owner, WM_HSCROLL, LineCode(request.ToLeft), bar);
}

void PostArrowKeys(const ScrollSystem& system, const ScrollRequest& request) {
    const WPARAM key = request.ToLeft ? VK_LEFT : VK_RIGHT;
    const LPARAM downLParam = request.ToLeft ? kLeftKeyDownLParam : kRightKeyDownLParam;
    const LPARAM upLParam = request.ToLeft ? kLeftKeyUpLParam : kRightKeyUpLParam;
    for (int i = 0; i < request.Steps; ++i) {
        system.Sender.PostMessageW(request.Target, WM_KEYDOWN, key, downLParam);
        system.Sender.PostMessageW(request.Target, WM_KEYUP, key, upLParam);
    }
}

// Posted to the left, sent to the right.
void PlainScrollMessages(const ScrollSystem& system, const ScrollRequest& request) {
    if (request.ToLeft) {
        for (int i = 0; i < request.Steps; ++i)
            system.Sender.PostMessageW(request.Window, WM_HSCROLL, SB_LINELEFT, 0);
    } else {
        SendScrollSteps(system.Sender, request.Window, SB_LINERIGHT, request.Steps);
    }
}

}  // namespace

void SendScrollSteps(ScrollSender& sender, HWND window, WPARAM code, int steps) {
    for (int i = 0; i < steps; ++i) {
        LRESULT answer = 0;
        if (!sender.SendMessageTimeoutW(window, WM_HSCROLL, code, 0, SMTO_ABORTIFHUNG,
                                        kScrollSendTimeoutMs, &answer))
            return;
    }
}

void DeliverScroll(const ScrollSystem& system, ScrollMethod method, const ScrollRequest& request) {
    if (request.Target == nullptr || request.Steps <= 0) return;
    ScrollRequest bounded = request;
    if (bounded.Steps > kMaxScrollSteps) bounded.Steps = kMaxScrollSteps;
    switch (method) {
    case ScrollMethod::ArrowClick: ClickScrollArrow(system, bounded); break;
    case ScrollMethod::ScrollBarMessage: PostScrollBarMessages(system, bounded); break;
    case ScrollMethod::ArrowKeys: PostArrowKeys(system, bounded); break;
    case ScrollMethod::BrowserScrolling:
        for (int i = 0; i < bounded.Steps; ++i) ScrollBrowserHorizontally(system, 1, bounded.ToLeft);
        break;
    case ScrollMethod::PlainMessage: PlainScrollMessages(system, bounded); break;
    }
}

}  // namespace scroll
