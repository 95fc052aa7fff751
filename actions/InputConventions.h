// How the action engine injects input. Key events carry the extended-key
// flag, scan code 0 and extra information 0, for every key; mouse events
// carry dx = dy = 0 and the extra information of GetMessageExtraInfo,
// fetched right before each event.
#pragma once

#include "platform/Platform.h"

// One key going down or up.
void SendKeyEvent(int virtualKey, bool keyUp);
// Key down and at once key up.
void TapKey(int virtualKey);
// One mouse event; `data` is the wheel delta or the extra button, else 0.
void SendMouseEvent(DWORD flags, DWORD data = 0);
