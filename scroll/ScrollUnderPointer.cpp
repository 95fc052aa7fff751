#include "scroll/ScrollUnderPointer.h"

#include "scroll/FindScrollBar.h"
#include "scroll/ScrollDelivery.h"

namespace scroll {

Text ScrollUnderPointer(const ScrollSystem& system, int count) {
    CFindScrollBar finder(system.Windows);
    POINT pointer{};
    if (!system.Sender.GetCursorPos(&pointer)) return u"no pointer position";
    HWND window = system.Windows.WindowFromPoint(pointer);
    if (window == nullptr) return u"no window under the pointer";
    const Text className = system.Windows.GetClassNameW(window);
    // Over the desktop or its icons there is nothing to scroll.
    if ((className == u"SysListView32" && finder.IsOnDesktop(window)) ||
        window == system.Windows.GetDesktopWindow())
        return u"the pointer is over the desktop";

    const ScrollMethod method = ScrollMethodForClass(className);
    finder.SetReferencePoint(pointer.x, pointer.y);
    HWND target = finder.FindHorizontalTarget(window);
    if (count == 0) return u"no steps";
    if (target == nullptr) return u"no horizontal scroll bar in or around " + className;

    const long long magnitude = count < 0 ? -static_cast<long long>(count) : count;
    ScrollRequest request;
    request.Window = window;
    request.Target = target;
    request.Pointer = pointer;
    request.Steps = static_cast<int>(magnitude < kMaxScrollSteps ? magnitude : kMaxScrollSteps);
    request.ToLeft = count > 0;
    DeliverScroll(system, method, request);
    return Text();
}

}  // namespace scroll
