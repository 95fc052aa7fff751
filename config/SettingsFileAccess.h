// Which INI accessor the settings operations use. Writes go through the
// platform's own profile functions where the platform has them (the Windows
// build) and through the portable writer elsewhere. Reads parse the file once
// per operation with the portable reader in both builds: a button event
// re-reads 87 keys, and asking the platform 87 times re-parses the whole file
// 87 times (measured under Wine at several milliseconds per event).
#pragma once

#include <memory>

#include "config/IniFile.h"

std::unique_ptr<IniFile> OpenSettingsFileForReading(const Text& path);
std::unique_ptr<IniFile> OpenSettingsFileForWriting(const Text& path);
