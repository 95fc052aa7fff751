// Wheel steps and sideways scrolling inject nothing on this build yet.
#include "actions/MouseFunction.h"

void CMouseFunction::SendWheelUp() {}
void CMouseFunction::SendWheelDown() {}
void CMouseFunction::ScrollUnderPointer(int) {}
