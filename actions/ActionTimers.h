// The main window's timer ticks that belong to the action engine.
#pragma once

#include "contract/Timers.h"
#include "platform/WinTypes.h"

// Carries out the tick of timer `id`: 1000 taps volume up, 1001 volume down,
// 100 taps Tab. False for any other id (nothing done).
bool HandleActionTimer(UINT_PTR id);
