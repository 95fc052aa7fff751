// Placeholders: input synthesis and window-aware scrolling are not built yet.
// The input callback already routes here by these names.
#include "actions/MouseFunction.h"

void CMouseFunction::SendWheelUp() {}
void CMouseFunction::SendWheelDown() {}
void CMouseFunction::ScrollUnderPointer(int) {}
