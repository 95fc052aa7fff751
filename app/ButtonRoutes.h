// Where the main window sends what an input report asks for: the button
// functions and program launch of the action engine, wheel steps, sideways
// scrolling and zoom.
#pragma once

#include "device/InputRoutes.h"

class ActionHost;
class WindowQueries;

class ButtonRoutes final : public InputRoutes {
public:
    ButtonRoutes(ActionHost& actions, WindowQueries& windows) : actions_(actions), windows_(windows) {}

    void ButtonPressed(int buttonIndex) override;
    void ButtonReleased(int buttonIndex) override;
    void LaunchAssignedProgram(int buttonIndex) override;
    void SendWheelUp() override;
    void SendWheelDown() override;
    void ScrollUnderPointer(int count) override;
    void ZoomIn() override;
    void ZoomOut() override;

private:
    ActionHost& actions_;
    WindowQueries& windows_;
};
