// Horizontal scrolling of the window under the pointer, built by the
// scrolling subsystem. The mouse actions reach it through this interface.
#pragma once

class HorizontalScrolling {
public:
    // `count` steps, positive to the left, negative to the right.
    virtual void ScrollUnderPointer(int count) = 0;
    // `steps` steps of the browser document under the pointer; left when `toLeft` is nonzero.
    virtual void ScrollBrowserHorizontally(int steps, int toLeft) = 0;

protected:
    ~HorizontalScrolling() = default;
};

// The process's scrolling, or null while none is set (scroll requests then do nothing).
HorizontalScrolling* Scrolling();
void SetScrolling(HorizontalScrolling* scrolling);
