// Placeholders: the button dispatcher, program launch and zoom actions are
// not built yet. The input callback already routes here by these names.
#include "app/MursohidDlg.h"

void CMursohidDlg::ButtonPressed(int) {}
void CMursohidDlg::ButtonReleased(int) {}
void CMursohidDlg::LaunchAssignedProgram(int) {}
void CMursohidDlg::ZoomIn() {}
void CMursohidDlg::ZoomOut() {}
