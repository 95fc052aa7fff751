#include "config/SettingsFileAccess.h"

std::unique_ptr<PortableIniFile> OpenSettingsFileForReading(const Text& path) {
    return std::make_unique<PortableIniFile>(path, PortableIniFile::ReadMode::Once);
}

std::unique_ptr<WholeFileIniWriter> OpenSettingsFileForWriting(const Text& path) {
    return std::make_unique<WholeFileIniWriter>(path);
}
