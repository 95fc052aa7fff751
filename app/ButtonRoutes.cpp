#include "app/ButtonRoutes.h"

#include "actions/ButtonDispatcher.h"
#include "actions/MouseFunction.h"
#include "actions/ProgramLaunch.h"
#include "actions/ZoomActions.h"

void ButtonRoutes::ButtonPressed(int buttonIndex) { ::ButtonPressed(actions_, windows_, buttonIndex); }
void ButtonRoutes::ButtonReleased(int buttonIndex) { ::ButtonReleased(actions_, buttonIndex); }
void ButtonRoutes::LaunchAssignedProgram(int buttonIndex) { ::LaunchAssignedProgram(actions_, buttonIndex); }
void ButtonRoutes::SendWheelUp() { CMouseFunction().SendWheelUp(); }
void ButtonRoutes::SendWheelDown() { CMouseFunction().SendWheelDown(); }
void ButtonRoutes::ScrollUnderPointer(int count) { CMouseFunction().ScrollUnderPointer(count); }
void ButtonRoutes::ZoomIn() { ::ZoomIn(windows_); }
void ButtonRoutes::ZoomOut() { ::ZoomOut(windows_); }
