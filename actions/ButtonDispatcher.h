// Carries out, on the PC, the function assigned to a mouse button when the
// button goes down or comes up. Each event first re-reads the active profile
// from the settings file, so an edit takes effect at the very next press.
#pragma once

#include <atomic>
#include <cstdint>

#include "actions/ActionHost.h"
#include "actions/WindowQueries.h"
#include "contract/Messages.h"
#include "contract/Timers.h"

// Presses of the clutch-toggle function, for the whole process and all
// buttons: odd counts engage the clutch, even counts release it.
extern std::atomic<std::int32_t> ClutchToggleCounter;

// Button index 0 to 9; any other index does nothing. A fixed-count macro
// plays inside ButtonPressed and holds the calling thread until it ends.
void ButtonPressed(ActionHost& host, WindowQueries& windows, int button);
void ButtonReleased(ActionHost& host, int button);
