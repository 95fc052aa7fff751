// A top-level window that stands in for a sibling program in tests and the
// demo: it has the sibling's title, writes every message it receives to a
// log file, one line each, and ends when it is asked to close.
#pragma once

#include <windows.h>

#include <string>

// Creates the window, runs its message loop, returns when it was closed.
int RunStandInWindow(const std::wstring& title, const std::wstring& logPath);

// Milliseconds since 1601 from the system clock, the same in every process.
unsigned long long WallClockMs();
