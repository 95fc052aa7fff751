// The service's sibling programs: the configuration program, the read-back
// program and the tray program. Each is found by its window's exact title
// when something is posted to it; a program that is not running misses it.
#pragma once

#include "platform/WinTypes.h"

// Posts `message` (lParam 0) to the sibling's window found by `title`.
void PostToSibling(const char16_t* title, UINT message, WPARAM wParam);

// Starts the tray program from the folder of the service's executable,
// every time, without looking whether one runs.
void LaunchTrayProgram();
// Asks the tray program to close.
void CloseTrayProgram();
// Tells the configuration program that the mouse was removed.
void NotifyMouseRemoved();
