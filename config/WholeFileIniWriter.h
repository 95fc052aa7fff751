// One write operation on the settings file, made as a whole: the file as it
// is now is read once, every key is set in memory, and Commit replaces the
// file in one move (written beside it, flushed, then moved over it). A kill,
// a crash or a full disk at any point leaves either the old file or the new
// one, never a file cut off; the platform's profile functions would rewrite
// the whole file once per key instead. The bytes are those the profile
// functions write (IniDocument), in the system's ANSI code page.
#pragma once

#include "config/IniDocument.h"
#include "config/IniFile.h"
#include "platform/Files.h"

class WholeFileIniWriter final : public IniFile {
public:
    // How often a replace is tried while another program holds the file,
    // and how long apart.
    static constexpr int kReplaceAttempts = 5;
    static constexpr DWORD kReplaceRetryMs = 20;

    // Reads the file now. A file that is there but cannot be read (or is
    // larger than any settings file) is never written: a write built on it
    // would lose the user's other settings.
    explicit WholeFileIniWriter(Text path);

    std::int32_t GetInt(const Text& section, const Text& key, std::int32_t defaultValue) override;
    Text GetString(const Text& section, const Text& key, const Text& defaultValue) override;
    bool GetBlock(const Text& section, const Text& key, void* buffer, std::size_t size) override;
    // Set in memory; the file changes at Commit.
    void WriteInt(const Text& section, const Text& key, std::int32_t value) override;
    void WriteString(const Text& section, const Text& key, const Text& value) override;
    void WriteBlock(const Text& section, const Text& key, const void* bytes, std::size_t size) override;

    // Replaces the file when a write changed anything; true when the file
    // now holds every write. On failure the old file stays as it was and a
    // debug line says so.
    bool Commit();
    bool AllWritesReached() const override { return reached_; }

private:
    Text path_;
    FileReadStatus status_;
    IniDocument document_;
    bool changed_ = false;
    bool reached_ = true;
};
