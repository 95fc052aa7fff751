// Access to one INI file by its full path: numbers, texts and checksummed
// byte blocks, read and written key by key. Two implementations exist: the
// platform's own profile functions, and a portable reader and writer that
// behaves as they do.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Text.h"

// Room of a text read, terminator included: at most 2,047 characters come back.
constexpr std::size_t kIniTextRoom = 2048;

class IniFile {
public:
    virtual ~IniFile() = default;

    // A decimal (or 0x/0o/0b prefixed) number; the default when the key is missing or empty.
    virtual std::int32_t GetInt(const Text& section, const Text& key, std::int32_t defaultValue) = 0;
    // The key's text, cut to kIniTextRoom - 1 characters; the default when the key is missing.
    virtual Text GetString(const Text& section, const Text& key, const Text& defaultValue) = 0;
    // Fills buffer only when the key holds exactly `size` encoded bytes with a
    // matching checksum, and returns whether it did; otherwise buffer is untouched.
    virtual bool GetBlock(const Text& section, const Text& key, void* buffer, std::size_t size) = 0;

    // Each write reaches the file before the call returns.
    virtual void WriteInt(const Text& section, const Text& key, std::int32_t value) = 0;
    virtual void WriteString(const Text& section, const Text& key, const Text& value) = 0;
    virtual void WriteBlock(const Text& section, const Text& key, const void* bytes, std::size_t size) = 0;
    // True when every write made through this accessor so far reached the
    // file (a file that cannot be read or replaced, a failed profile write).
    virtual bool AllWritesReached() const = 0;
};
