#include "actions/MouseFunction.h"

#include "actions/HorizontalScrolling.h"
#include "actions/InputConventions.h"

void CMouseFunction::SendWheelUp() { SendMouseEvent(MOUSEEVENTF_WHEEL, static_cast<DWORD>(WHEEL_DELTA)); }

void CMouseFunction::SendWheelDown() {
    SendMouseEvent(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
}

void CMouseFunction::SendDoubleClick() {
    SendMouseEvent(MOUSEEVENTF_LEFTDOWN);
    SendMouseEvent(MOUSEEVENTF_LEFTUP);
    SendMouseEvent(MOUSEEVENTF_LEFTDOWN);
    SendMouseEvent(MOUSEEVENTF_LEFTUP);
}

void CMouseFunction::ScrollUnderPointer(int count) {
    if (HorizontalScrolling* scrolling = Scrolling()) scrolling->ScrollUnderPointer(count);
}

void CMouseFunction::ScrollBrowserHorizontally(int steps, int toLeft) {
    if (HorizontalScrolling* scrolling = Scrolling()) scrolling->ScrollBrowserHorizontally(steps, toLeft);
}
