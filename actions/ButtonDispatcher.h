// Carries out, on the PC, the function assigned to a mouse button when the
// button goes down or comes up. Each event first re-reads the active profile
// from the settings file, so an edit takes effect at the very next press.
#pragma once

#include <atomic>
#include <cstdint>

#include "actions/ActionHost.h"
#include "actions/WindowQueries.h"

// Messages to the configuration program: the stage index the dispatcher
// selected (wParam), and that a macro button was pressed (wParam its index).
constexpr UINT kMsgStageSelected = 0x4D6;
constexpr UINT kMsgMacroButtonPressed = 0x4D5;

// Timers of the main window that repeat a volume step while the button is held.
constexpr UINT_PTR kVolumeUpTimerId = 1000;
constexpr UINT_PTR kVolumeDownTimerId = 1001;
constexpr UINT kVolumeRepeatMs = 100;

// Presses of the clutch-toggle function, for the whole process and all
// buttons: odd counts engage the clutch, even counts release it.
extern std::atomic<std::int32_t> ClutchToggleCounter;

// Button index 0 to 9; any other index does nothing. A fixed-count macro
// plays inside ButtonPressed and holds the calling thread until it ends.
void ButtonPressed(ActionHost& host, WindowQueries& windows, int button);
void ButtonReleased(ActionHost& host, int button);
