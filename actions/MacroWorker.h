// The macro worker thread: plays the repeating macro modes on its own thread.
#pragma once

// Thread routine body; returns 0 when its message loop ends.
int MacroWorker();
