#include "app/ButtonRoutes.h"

#include "actions/MouseFunction.h"
#include "app/MursohidDlg.h"

void ButtonRoutes::ButtonPressed(int) {}
void ButtonRoutes::ButtonReleased(int) {}
void ButtonRoutes::LaunchAssignedProgram(int) {}
void ButtonRoutes::SendWheelUp() { CMouseFunction().SendWheelUp(); }
void ButtonRoutes::SendWheelDown() { CMouseFunction().SendWheelDown(); }
void ButtonRoutes::ScrollUnderPointer(int count) { CMouseFunction().ScrollUnderPointer(count); }
void ButtonRoutes::ZoomIn() {}
void ButtonRoutes::ZoomOut() {}
