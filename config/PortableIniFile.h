// The INI file read and written by our own code, through whole-file reads and
// writes of the platform. It behaves as the platform's profile functions do
// (IniDocument); every write re-reads the file, changes one key and replaces
// the file before returning. A file that is there but cannot be read reads as
// all defaults and is never written: a write built on it would lose the file.
#pragma once

#include <optional>

#include "config/IniDocument.h"
#include "config/IniFile.h"
#include "platform/Files.h"

// No settings file the service writes comes near this size; a bigger file
// is not one (or a corrupted one) and reads as unreadable.
constexpr std::size_t kMostIniFileBytes = 1024 * 1024;

struct LoadedIniDocument {
    FileReadStatus Status;
    IniDocument Document;
};
// The file read whole and parsed as the platform's profile functions read it.
LoadedIniDocument LoadIniDocument(const Text& path);

class PortableIniFile final : public IniFile {
public:
    enum class ReadMode {
        EachCall,  // every read goes to the file, as the platform's functions do
        Once,      // the file is read once, at the first read, and reads answer from that
    };

    explicit PortableIniFile(Text path, ReadMode mode = ReadMode::EachCall);
    // Reads answer from `document` as if the file had been read once (ReadMode::Once).
    PortableIniFile(Text path, IniDocument document);

    // Reads the file now (ReadMode::Once answers later reads from it) and
    // says how the read went.
    FileReadStatus ReadFile();

    std::int32_t GetInt(const Text& section, const Text& key, std::int32_t defaultValue) override;
    Text GetString(const Text& section, const Text& key, const Text& defaultValue) override;
    bool GetBlock(const Text& section, const Text& key, void* buffer, std::size_t size) override;
    void WriteInt(const Text& section, const Text& key, std::int32_t value) override;
    void WriteString(const Text& section, const Text& key, const Text& value) override;
    void WriteBlock(const Text& section, const Text& key, const void* bytes, std::size_t size) override;
    bool AllWritesReached() const override { return writesReached_; }

private:
    bool writesReached_ = true;
    const IniDocument& DocumentForReading();
    struct Loaded {
        FileReadStatus status;
        IniDocument document;
    };
    Loaded Load() const;

    Text path_;
    ReadMode mode_;
    std::optional<IniDocument> loaded_;
};
