// Everything the action engine holds on the PC: the keys and mouse buttons
// it pressed and has not released, the function each mouse button's press
// was carried out as, and whether a macro is playing. A release ends what
// its own press started, whatever the settings say by then; when the mouse
// goes or the service stops, all of it ends at once, even though the
// releases that would have ended it never come.
#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <vector>

#include "actions/ButtonFunctions.h"

// --- keys and mouse buttons down (kept by the input injection) ---
void NoteKeyEvent(int virtualKey, bool keyUp);
void NoteMouseEvent(DWORD flags, DWORD data);
// Sends one up for every key and mouse button still down, and forgets them.
// Returns how many went up.
int ReleaseHeldKeysAndButtons();

// --- the main window's timers that repeat a button's effect ---
void NoteRepeatTimer(UINT_PTR id, bool running);
// The repeat timers running now, forgotten.
std::vector<UINT_PTR> TakeRepeatTimers();

// --- what each press started ---
struct NotedPress {
    ButtonFunctionCode Code;
    // A macro press that started a while-held repeat.
    bool StartedWhileHeldMacro = false;
};
// Button 0 to 9 was pressed and carried out as `press` says.
void NoteButtonPress(int button, NotedPress press);
// How the button's press was carried out, forgotten now; none when no press
// of it is noted (one before the service started, or one whose effects were
// already ended because the mouse went).
std::optional<NotedPress> TakeButtonPress(int button);
// Forgets every noted press.
void ForgetButtonPresses();

// --- repeat requests to the macro worker ---
// The worker's thread takes messages from any program: it serves only the
// requests the service posted itself, each once.
void NoteMacroRequest(bool whileHeld, int button);
// True, once, for a request noted by NoteMacroRequest.
bool TakeMacroRequest(bool whileHeld, int button);

// --- macros playing, on the worker thread or the input thread ---
// One macro request (all its passes) on the calling thread, counted for as
// long as it plays.
class MacroActivity {
public:
    MacroActivity();
    ~MacroActivity();
    MacroActivity(const MacroActivity&) = delete;
    MacroActivity& operator=(const MacroActivity&) = delete;
};
bool MacroPlaying();
// From now until the macro request in progress on this thread ends, the
// thread runs at a higher priority (kMacroThreadPriority), so that other
// programs' threads do not delay its events; its own priority comes back at
// the request's end. The player asks once the first event has gone out: the
// system calls must not delay the first event. Does nothing outside a request.
void KeepMacroThreadOnTime();
// Waits up to `slice` of real time for every macro request to end; true
// when none plays.
bool WaitForMacrosToEnd(std::chrono::milliseconds slice);
// Ends every macro that plays now after its event in progress; macros
// started later play as usual.
void StopMacros();
// While barred (the mouse closing, the service stopping) every macro ends
// after its event in progress, and one that starts ends at once.
void BarMacros(bool barred);
// True inside a macro request that a stop has ended since it began, or while
// macros are barred.
bool MacroStopped();

// Forgets everything (a clean process for tests).
void ResetHeldInput();
