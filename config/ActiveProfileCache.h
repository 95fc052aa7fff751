// The reads of ReloadActiveProfile, kept for the bytes of the settings file
// they were made from, so that an edit by the configuration program takes
// effect at the very next button event, however close together two edits
// come.
//
// A call first asks the file's size and last-write time. When both are
// those seen before the kept read, and that read began well after the
// last-write time (kSettledFileTime, more than the coarsest file-time clock),
// no edit can have come since: any later one would carry a later time or
// another size. Only then is the kept read used without touching the file;
// that is the common case, a settings file left alone, and costs one query
// instead of a read of some 40 KB on every button event. Otherwise the call
// reads the file whole (one attempt, no wait) and compares its bytes with
// those of the last parse; only a file that differs is parsed again. A size
// and a time alone would miss two edits of the same length within one tick
// of the file-time clock, which is why a recently written file is always
// read.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <mutex>
#include <string>

#include "config/SettingsFile.h"
#include "platform/Files.h"
#include "platform/Text.h"

// How long after a file's last-write time a read must begin for the file's
// stamp to vouch for its bytes: more than the 2 s file times of FAT volumes,
// in 100 ns units.
constexpr std::uint64_t kSettledFileTime = 4 * 10000000ULL;

class ActiveProfileCache {
public:
    // What the file at `path` holds now; null when it is there but cannot
    // be read. A missing file reads as every key missing.
    std::shared_ptr<const ActiveProfileRead> Read(const Text& path);
    // How many reads parsed the file (the others compared bytes or stamps only).
    int Parses() const;

private:
    mutable std::mutex lock_;
    Text path_;
    FileReadStatus status_ = FileReadStatus::Missing;
    unsigned codePage_ = 0;
    std::string bytes_;
    std::optional<FileStamp> stamp_;  // the file's stamp before the kept read
    std::uint64_t readStarted_ = 0;   // system time when the kept read began
    std::shared_ptr<const ActiveProfileRead> read_;
    int parses_ = 0;
};
