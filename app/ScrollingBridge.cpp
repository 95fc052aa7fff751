#include "app/ScrollingBridge.h"

#include "scroll/BrowserScrolling.h"
#include "scroll/PlatformScroll.h"
#include "scroll/ScrollUnderPointer.h"

void ScrollingBridge::ScrollUnderPointer(int count) { scroll::ScrollUnderPointer(ProcessScrollSystem(), count); }

void ScrollingBridge::ScrollBrowserHorizontally(int steps, int toLeft) {
    scroll::ScrollBrowserHorizontally(ProcessScrollSystem(), steps, toLeft != 0);
}
