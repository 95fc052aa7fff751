// Closes the running service of this user the way its own shut-down expects.
#pragma once

#include <windows.h>

// Posts WM_CLOSE to the service's main window (found by its title) and waits
// until its process has ended, at most `waitMs` in all. True when no service
// window is left: none was running, or it closed in time.
bool CloseRunningService(DWORD waitMs);
