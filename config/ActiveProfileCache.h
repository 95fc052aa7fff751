// The reads of ReloadActiveProfile, kept for the bytes of the settings file
// they were made from. Every call reads the file whole (one attempt, no
// wait) and compares its bytes with those of the last parse; only a file
// that differs is parsed again. An edit by the configuration program
// therefore takes effect at the very next button event, however close
// together two edits come: a file time or a size would miss two edits of
// the same length within one tick of the file-time clock.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "config/SettingsFile.h"
#include "platform/Files.h"
#include "platform/Text.h"

class ActiveProfileCache {
public:
    // What the file at `path` holds now; null when it is there but cannot
    // be read. A missing file reads as every key missing.
    std::shared_ptr<const ActiveProfileRead> Read(const Text& path);
    // How many reads parsed the file (the others compared bytes only).
    int Parses() const;

private:
    mutable std::mutex lock_;
    Text path_;
    FileReadStatus status_ = FileReadStatus::Missing;
    unsigned codePage_ = 0;
    std::string bytes_;
    std::shared_ptr<const ActiveProfileRead> read_;
    int parses_ = 0;
};
