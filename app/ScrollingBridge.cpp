#include "app/ScrollingBridge.h"

#include "scroll/BrowserScrolling.h"
#include "scroll/PlatformScroll.h"
#include "scroll/ScrollUnderPointer.h"
#include "platform/Platform.h"

void ScrollingBridge::ScrollUnderPointer(int count) {
    // A scroll that found nothing to scroll says why in a debug line.
    const Text why = scroll::ScrollUnderPointer(ProcessScrollSystem(), count);
    if (!why.empty()) Sys().Kernel.OutputDebugStringW(u"SCROLL:nothing scrolled, " + why);
}

void ScrollingBridge::ScrollBrowserHorizontally(int steps, int toLeft) {
    scroll::ScrollBrowserHorizontally(ProcessScrollSystem(), steps, toLeft != 0);
}
