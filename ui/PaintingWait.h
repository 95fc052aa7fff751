// A wait that keeps one window painted: while the calling thread waits, the
// WM_PAINT messages of `window` and its children are taken from the queue
// and dispatched as they become due; every other message stays queued, in
// order, for the message loop. Used while a long operation blocks the
// thread that owns a visible window.
#pragma once

#include "platform/WinTypes.h"

// Waits `milliseconds` (a plain Sleep when `window` is null).
// Calls: MsgWaitForMultipleObjects (QS_PAINT), PeekMessageW (the window's
// WM_PAINT only, PM_REMOVE | PM_QS_PAINT), DispatchMessageW, GetTickCount.
void WaitWhilePainting(HWND window, DWORD milliseconds);
