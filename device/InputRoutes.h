// Where the input callback sends what the mouse asks for. The service's
// main window implements it with the action engine and scrolling.
#pragma once

class InputRoutes {
public:
    virtual void ButtonPressed(int buttonIndex) = 0;
    virtual void ButtonReleased(int buttonIndex) = 0;
    virtual void LaunchAssignedProgram(int buttonIndex) = 0;
    virtual void SendWheelUp() = 0;
    virtual void SendWheelDown() = 0;
    // Positive counts scroll to the left, negative to the right.
    virtual void ScrollUnderPointer(int count) = 0;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;

protected:
    ~InputRoutes() = default;
};
