// The macro worker thread: plays the two repeating macro modes on a thread of
// its own, so that the input thread is not held up while a macro repeats.
#pragma once

#include "actions/MacroPlayer.h"
#include "contract/Messages.h"
#include "platform/WinTypes.h"

// Thread messages to the worker: kThreadMsgMacroRepeatUntilPressed and
// kThreadMsgMacroRepeatWhileHeld (contract/Messages.h).

// Carries out one message taken by the worker: the passes of a request, each
// followed by a 50 ms pause measured from the pass's due end, the flag looked
// at only after the pause. Returns false for a message that is no request,
// or a request whose button index is not 0 to 9 (nothing is played).
bool ServeMacroRequest(MacroSource& source, UINT message, LPARAM lParam);

// The worker's message loop over the calling thread's queue; returns 0 when
// GetMessageW gives 0, or at once when the worker was asked to end before
// its queue existed (a quit posted to it then fails).
int RunMacroWorker(MacroSource& source);
// Before the worker starts, and when it is to end (then with a quit posted).
void AllowMacroWorker();
void AskMacroWorkerToEnd();
