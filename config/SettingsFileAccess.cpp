#include "config/SettingsFileAccess.h"

#include "config/PlatformIniFile.h"
#include "config/PortableIniFile.h"

namespace {

#if defined(_WIN32)
constexpr bool kPlatformHasProfileFunctions = true;
#else
constexpr bool kPlatformHasProfileFunctions = false;
#endif

}  // namespace

std::unique_ptr<PortableIniFile> OpenSettingsFileForReading(const Text& path) {
    return std::make_unique<PortableIniFile>(path, PortableIniFile::ReadMode::Once);
}

std::unique_ptr<IniFile> OpenSettingsFileForWriting(const Text& path) {
    if (kPlatformHasProfileFunctions) return std::make_unique<PlatformIniFile>(path);
    return std::make_unique<PortableIniFile>(path);
}
