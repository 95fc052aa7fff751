// The file name of the program that owns the foreground window, found
// through the platform: by asking the process for its image (cheap), or by
// walking a snapshot of every process (works for any process).
#pragma once

#include <optional>

#include "platform/Text.h"
#include "platform/WinTypes.h"

enum class ProcessLookup {
    ImageThenSnapshot,  // OpenProcess + QueryFullProcessImageNameW, the snapshot when that fails
    SnapshotOnly        // CreateToolhelp32Snapshot + Process32FirstW / NextW
};

// The executable's file name (no folder) of process `processId`; nothing
// when the process cannot be found. Every handle taken is closed.
std::optional<Text> ProgramFileName(DWORD processId, ProcessLookup lookup = ProcessLookup::ImageThenSnapshot);

// The snapshot walk alone: the file name of the entry with that process id.
std::optional<Text> ProgramFileNameFromSnapshot(DWORD processId);
// The image query alone; nothing when the process may not be opened.
std::optional<Text> ProgramFileNameFromImage(DWORD processId);
