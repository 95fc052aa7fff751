// The INI file read and written through the platform's own profile functions
// (GetPrivateProfileIntW and the others): the reference the portable reader
// and writer are compared with under Wine, and timed against.
#pragma once

#include "config/IniFile.h"

class PlatformIniFile final : public IniFile {
public:
    explicit PlatformIniFile(Text path);

    std::int32_t GetInt(const Text& section, const Text& key, std::int32_t defaultValue) override;
    Text GetString(const Text& section, const Text& key, const Text& defaultValue) override;
    bool GetBlock(const Text& section, const Text& key, void* buffer, std::size_t size) override;
    void WriteInt(const Text& section, const Text& key, std::int32_t value) override;
    void WriteString(const Text& section, const Text& key, const Text& value) override;
    void WriteBlock(const Text& section, const Text& key, const void* bytes, std::size_t size) override;
    bool AllWritesReached() const override { return writesReached_; }

private:
    Text path_;
    bool writesReached_ = true;
};
