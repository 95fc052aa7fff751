#include "config/PortableIniFile.h"

#include "config/IniValues.h"
#include "platform/Platform.h"

PortableIniFile::PortableIniFile(Text path, ReadMode mode) : path_(std::move(path)), mode_(mode) {}

PortableIniFile::PortableIniFile(Text path, IniDocument document)
    : path_(std::move(path)), mode_(ReadMode::Once), loaded_(std::move(document)) {}

LoadedIniDocument LoadIniDocument(const Text& path) {
    const FileRead read = Sys().Files.ReadWholeFile(path);
    if (read.Status != FileReadStatus::Read) return LoadedIniDocument{read.Status, IniDocument{}};
    if (read.Bytes.size() > kMostIniFileBytes) return LoadedIniDocument{FileReadStatus::Unreadable, IniDocument{}};
    return LoadedIniDocument{read.Status, ParseIniDocument(read.Bytes, Sys().Kernel.SystemAnsiCodePage())};
}

PortableIniFile::Loaded PortableIniFile::Load() const {
    LoadedIniDocument loaded = LoadIniDocument(path_);
    return Loaded{loaded.Status, std::move(loaded.Document)};
}

FileReadStatus PortableIniFile::ReadFile() {
    Loaded loaded = Load();
    loaded_ = std::move(loaded.document);
    return loaded.status;
}

const IniDocument& PortableIniFile::DocumentForReading() {
    if (mode_ == ReadMode::EachCall || !loaded_) loaded_ = Load().document;
    return *loaded_;
}

std::int32_t PortableIniFile::GetInt(const Text& section, const Text& key, std::int32_t defaultValue) {
    return ReadIniInt(DocumentForReading(), section, key, defaultValue);
}

Text PortableIniFile::GetString(const Text& section, const Text& key, const Text& defaultValue) {
    return ReadIniString(DocumentForReading(), section, key, defaultValue, kIniTextRoom);
}

bool PortableIniFile::GetBlock(const Text& section, const Text& key, void* buffer, std::size_t size) {
    return ReadIniBlock(DocumentForReading(), section, key, buffer, size);
}

void PortableIniFile::WriteString(const Text& section, const Text& key, const Text& value) {
    // Always from the file as it is now: a peer program may have changed it.
    Loaded loaded = Load();
    if (loaded.status == FileReadStatus::Unreadable) {
        writesReached_ = false;
        return;
    }
    if (SetIniValue(loaded.document, section, key, value)) {
        // The file is replaced whole, so a failed write leaves the old one.
        if (!Sys().Files.ReplaceWholeFile(path_, SaveIniDocument(loaded.document, Sys().Kernel.SystemAnsiCodePage())))
            writesReached_ = false;
    }
    if (mode_ == ReadMode::Once) loaded_ = std::move(loaded.document);
}

void PortableIniFile::WriteInt(const Text& section, const Text& key, std::int32_t value) {
    WriteString(section, key, TextFromInt(value));
}

void PortableIniFile::WriteBlock(const Text& section, const Text& key, const void* bytes, std::size_t size) {
    WriteString(section, key, EncodeIniBlock(static_cast<const std::uint8_t*>(bytes), size));
}
