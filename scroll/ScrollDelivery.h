// Delivers one horizontal scroll request by the method chosen for the
// window under the pointer.
#pragma once

#include "scroll/ScrollMethods.h"
#include "scroll/ScrollSystem.h"

namespace scroll {

// One request is at most this many steps: the step count comes from a
// system setting, and every step is a message or a click.
constexpr int kMaxScrollSteps = 100;
// An arrow click lands this far inside the scroll bar's top corner.
constexpr LONG kArrowClickInset = 5;
// Arrow keys: repeat count 1, the key's scan code, the extended-key bit; the
// key-up message adds the previous-state and transition bits.
constexpr LPARAM kLeftKeyDownLParam = 0x014B0001;
constexpr LPARAM kLeftKeyUpLParam = 0xC14B0001;
constexpr LPARAM kRightKeyDownLParam = 0x014D0001;
constexpr LPARAM kRightKeyUpLParam = 0xC14D0001;
// A window that does not take a sent scroll message within this time (or
// is hung) is given up on, so a hung window cannot hold up the input thread.
constexpr UINT kScrollSendTimeoutMs = 200;

struct ScrollRequest {
    HWND Window = nullptr;  // the window under the pointer
    HWND Target = nullptr;  // the target the finder gave for it (not null)
    POINT Pointer{};        // the pointer at the start of the step
    int Steps = 0;          // 1 to kMaxScrollSteps
    bool ToLeft = true;
};

void DeliverScroll(const ScrollSystem& system, ScrollMethod method, const ScrollRequest& request);

// Sends WM_HSCROLL with `code` to `window` up to `steps` times, each with a
// bounded wait; stops at the first send that is not answered in time.
void SendScrollSteps(ScrollSender& sender, HWND window, WPARAM code, int steps);

}  // namespace scroll
