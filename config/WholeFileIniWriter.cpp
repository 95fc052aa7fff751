#include "config/WholeFileIniWriter.h"

#include "config/IniValues.h"
#include "config/PortableIniFile.h"
#include "platform/Platform.h"

WholeFileIniWriter::WholeFileIniWriter(Text path) : path_(std::move(path)) {
    LoadedIniDocument loaded = LoadIniDocument(path_);
    status_ = loaded.Status;
    document_ = std::move(loaded.Document);
    if (status_ == FileReadStatus::Unreadable) reached_ = false;
}

std::int32_t WholeFileIniWriter::GetInt(const Text& section, const Text& key, std::int32_t defaultValue) {
    return ReadIniInt(document_, section, key, defaultValue);
}

Text WholeFileIniWriter::GetString(const Text& section, const Text& key, const Text& defaultValue) {
    return ReadIniString(document_, section, key, defaultValue, kIniTextRoom);
}

bool WholeFileIniWriter::GetBlock(const Text& section, const Text& key, void* buffer, std::size_t size) {
    return ReadIniBlock(document_, section, key, buffer, size);
}

void WholeFileIniWriter::WriteString(const Text& section, const Text& key, const Text& value) {
    if (status_ == FileReadStatus::Unreadable) return;
    if (SetIniValue(document_, section, key, value)) changed_ = true;
}

void WholeFileIniWriter::WriteInt(const Text& section, const Text& key, std::int32_t value) {
    WriteString(section, key, TextFromInt(value));
}

void WholeFileIniWriter::WriteBlock(const Text& section, const Text& key, const void* bytes, std::size_t size) {
    WriteString(section, key, EncodeIniBlock(static_cast<const std::uint8_t*>(bytes), size));
}

bool WholeFileIniWriter::Commit() {
    if (status_ == FileReadStatus::Unreadable) {
        Sys().Kernel.OutputDebugStringW(u"settings file: could not be read, so it is not written\n");
        return false;
    }
    if (!changed_) return reached_;
    const std::string bytes = SaveIniDocument(document_, Sys().Kernel.SystemAnsiCodePage());
    for (int attempt = 1; attempt <= kReplaceAttempts; ++attempt) {
        if (Sys().Files.ReplaceWholeFile(path_, bytes)) {
            changed_ = false;
            return reached_;
        }
        // Another program may hold the file for a moment.
        if (attempt < kReplaceAttempts) Sys().Kernel.Sleep(kReplaceRetryMs);
    }
    reached_ = false;
    Sys().Kernel.OutputDebugStringW(u"settings file: could not be replaced, the old one stays\n");
    return false;
}
