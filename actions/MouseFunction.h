// Stateless mouse actions, created for one action and destroyed after it.
#pragma once

class CMouseFunction {
public:
    // One wheel notch up (delta +120) or down (delta -120).
    void SendWheelUp();
    void SendWheelDown();
    // Horizontal scroll of the window under the pointer: `count` steps,
    // positive to the left, negative to the right.
    void ScrollUnderPointer(int count);
};
