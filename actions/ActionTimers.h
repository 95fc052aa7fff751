// The main window's timer ticks that belong to the action engine.
#pragma once

#include "platform/WinTypes.h"

// A Tab tap, for a timer message with this id from outside the service.
constexpr UINT_PTR kTabTapTimerId = 100;

// Carries out the tick of timer `id`: 1000 taps volume up, 1001 volume down,
// 100 taps Tab. False for any other id (nothing done).
bool HandleActionTimer(UINT_PTR id);
