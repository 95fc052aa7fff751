// The per-user data folder and the default files copied there on first run.
#pragma once

#include "platform/Text.h"

// The data folder, always ending in a backslash. Set once by ResolveFolders
// at start-up, before any other thread exists; read-only afterwards.
const Text& DataFolder();
// Path of the settings file: DataFolder() + "config.ini".
Text SettingsFilePath();

void ResolveFolders();
void ProvisionFirstRun();

// Drive and directory of the service's own executable, ending in a backslash.
Text ProgramFolder();
// Splits a path into drive+directory (with its closing backslash): "C:\a\b.exe" -> "C:\a\".
Text FolderOfPath(const Text& path);
