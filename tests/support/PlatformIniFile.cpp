#include "tests/support/PlatformIniFile.h"

#include <cstring>
#include <vector>

#include "config/IniValues.h"
#include "platform/Platform.h"

PlatformIniFile::PlatformIniFile(Text path) : path_(std::move(path)) {}

std::int32_t PlatformIniFile::GetInt(const Text& section, const Text& key, std::int32_t defaultValue) {
    return static_cast<std::int32_t>(Sys().Files.GetPrivateProfileIntW(section, key, defaultValue, path_));
}

Text PlatformIniFile::GetString(const Text& section, const Text& key, const Text& defaultValue) {
    return Sys().Files.GetPrivateProfileStringW(section, key, defaultValue, kIniTextRoom, path_);
}

bool PlatformIniFile::GetBlock(const Text& section, const Text& key, void* buffer, std::size_t size) {
    // The platform's reader is laxer than the settings file allows (it takes
    // a value with one character too many): the stored text must be exactly
    // the block's digits as well.
    const Text stored = Sys().Files.GetPrivateProfileStringW(section, key, Text(), IniBlockReadRoom(size), path_);
    if (!IsWellFormedIniBlock(stored, size)) return false;
    // The platform's reader fills its buffer even when the checksum then
    // fails; reading into a scratch copy keeps the caller's bytes unless the
    // block is taken.
    std::vector<std::uint8_t> scratch(size + 1);
    if (!Sys().Files.GetPrivateProfileStructW(section, key, scratch.data(), static_cast<UINT>(size), path_))
        return false;
    if (size > 0) std::memcpy(buffer, scratch.data(), size);
    return true;
}

void PlatformIniFile::WriteInt(const Text& section, const Text& key, std::int32_t value) {
    if (!Sys().Files.WritePrivateProfileStringW(section, key, TextFromInt(value), path_)) writesReached_ = false;
}

void PlatformIniFile::WriteString(const Text& section, const Text& key, const Text& value) {
    if (!Sys().Files.WritePrivateProfileStringW(section, key, value, path_)) writesReached_ = false;
}

void PlatformIniFile::WriteBlock(const Text& section, const Text& key, const void* bytes, std::size_t size) {
    if (!Sys().Files.WritePrivateProfileStructW(section, key, bytes, static_cast<UINT>(size), path_))
        writesReached_ = false;
}
