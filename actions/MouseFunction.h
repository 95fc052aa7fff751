// Mouse actions: wheel notches, the double click, and the horizontal scroll
// requests. Created on the stack for one action; no state.
#pragma once

class CMouseFunction {
public:
    // One wheel notch away from the user (+120) or towards the user (-120).
    void SendWheelUp();
    void SendWheelDown();
    // Left down, up, down, up: four events in a row, no pause.
    void SendDoubleClick();
    // Horizontal scroll of the window under the pointer: `count` steps,
    // positive to the left, negative to the right.
    void ScrollUnderPointer(int count);
    // `steps` steps of the browser document under the pointer, left when `toLeft` is nonzero.
    void ScrollBrowserHorizontally(int steps, int toLeft);
};
