// Which INI accessor the settings operations use. Reads parse the file once
// per operation with the portable reader: a button event makes 87 key reads,
// and asking the platform for each one re-reads the whole file each time (15
// to 33 ms per event on a 40 KB file under Wine, about 2 ms even when Wine
// keeps the file cached, against about 0.5 ms for one parse). The portable
// reader also tells a missing file from one that could not be read. Writes
// set every key of one operation in memory and replace the file once, whole.
#pragma once

#include <memory>

#include "config/PortableIniFile.h"
#include "config/WholeFileIniWriter.h"

std::unique_ptr<PortableIniFile> OpenSettingsFileForReading(const Text& path);
// Commit() makes the writes reach the file.
std::unique_ptr<WholeFileIniWriter> OpenSettingsFileForWriting(const Text& path);
