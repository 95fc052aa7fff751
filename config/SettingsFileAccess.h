// Which INI accessor the settings operations use. Writes go through the
// platform's own profile functions where the platform has them (the Windows
// build) and through the portable writer elsewhere. Reads parse the file once
// per operation with the portable reader in both builds: a button event makes
// 87 key reads, and asking the platform for each one re-reads the whole file
// each time (15 to 33 ms per event on a 40 KB file under Wine, about 2 ms
// even when Wine keeps the file cached, against about 0.5 ms for one parse).
// The portable reader also tells a missing file from one that could not be read.
#pragma once

#include <memory>

#include "config/IniFile.h"
#include "config/PortableIniFile.h"

std::unique_ptr<PortableIniFile> OpenSettingsFileForReading(const Text& path);
std::unique_ptr<IniFile> OpenSettingsFileForWriting(const Text& path);
