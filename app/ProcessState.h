// Process-wide values reached without a window pointer: by the input
// callback on the HID library's thread and by the macro worker thread.
#pragma once

#include <atomic>

#include "platform/WinTypes.h"

class CMursohidDlg;

// The one main window; set during its creation, before the mouse is opened.
extern std::atomic<CMursohidDlg*> MainWindow;
// Thread id of the macro worker; thread messages for macros go there.
extern std::atomic<DWORD> WorkerThreadId;
