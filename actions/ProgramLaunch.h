// Opening the program, document or address assigned to a button.
#pragma once

#include "actions/ActionHost.h"
#include "actions/WindowQueries.h"
#include "platform/Text.h"

// The launch of a button function: the service window is brought to the
// foreground, with the foreground window's thread input attached to the
// service's for the time of the call, and `path` opened in the normal
// window state. The result of the open is not looked at; an empty path
// opens nothing.
void LaunchProgramInForeground(ActionHost& host, WindowQueries& windows, const Text& path);

// The launch the mouse asks for directly: the Path of button `button` (0 to 9)
// of the active profile as held in memory, opened in the shown state, with
// no foreground hand-over. Any other index does nothing. One press sends one
// such report; reports for the same button that come faster than a person
// presses (within kLaunchRepeatGuardMs of the last launch) open nothing more,
// so a flood of reports cannot start a flood of processes.
constexpr DWORD kLaunchRepeatGuardMs = 500;
void LaunchAssignedProgram(ActionHost& host, int button);
// Forgets the last launches (a clean process for tests).
void ResetLaunchGuard();
