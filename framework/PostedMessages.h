// Which posted messages the message loop drops before dispatching them. Any
// program on the desktop can post any message to the service's windows and
// threads; these it refuses to carry out.
#pragma once

#include "platform/WinTypes.h"

// The system sends creation and destruction messages and never posts them,
// so a posted one is forged. A WM_TIMER whose lParam is not null would be
// dispatched to that address as a timer procedure; the service sets none.
constexpr bool RefusesPostedMessage(const MSG& msg) {
    switch (msg.message) {
        case WM_NCCREATE:
        case WM_CREATE:
        case WM_DESTROY:
        case WM_NCDESTROY: return true;
        case WM_TIMER: return msg.lParam != 0;
        default: return false;
    }
}
