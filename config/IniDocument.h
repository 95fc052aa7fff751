// An INI file as the profile functions see it: sections in file order, each
// with its lines in order. Blank lines are not kept; lines before the first
// section header belong to a section without a name; a line without '=' is
// kept as a name without a value. Saving writes every section back in the
// platform's canonical form: "[name]" and "name=value" lines ending in CR LF.
#pragma once

#include <string>
#include <vector>

#include "config/IniEncoding.h"
#include "platform/Text.h"

struct IniEntry {
    Text name;
    bool hasValue = false;
    Text value;
};

struct IniSection {
    Text name;  // empty only for the lines before the first header
    std::vector<IniEntry> entries;
};

struct IniDocument {
    IniEncoding encoding = IniEncoding::Ansi;
    std::vector<IniSection> sections;
};

// A file without a byte-order mark is read and written in `ansi`, the
// system's ANSI code page.
IniDocument ParseIniDocument(const std::string& bytes, const AnsiCodePage& ansi);
std::string SaveIniDocument(const IniDocument& document, const AnsiCodePage& ansi);

// The entry for section and key, matched without regard to case after
// trimming blanks, or null. Only the first section of a name is searched.
const IniEntry* FindIniEntry(const IniDocument& document, const Text& section, const Text& key);

// Sets the key's value (leading blanks dropped), creating the key at the end
// of its section or the section at the end of the file. Returns false when
// the stored value was already the same, so the file need not be rewritten.
bool SetIniValue(IniDocument& document, const Text& section, const Text& key, const Text& value);

// Reads as the platform's functions read a document.
Text ReadIniString(const IniDocument& document, const Text& section, const Text& key,
                   const Text& defaultValue, std::size_t room);
std::int32_t ReadIniInt(const IniDocument& document, const Text& section, const Text& key,
                        std::int32_t defaultValue);
// True and `buffer` filled only for a well-formed block of exactly `size` bytes.
bool ReadIniBlock(const IniDocument& document, const Text& section, const Text& key, void* buffer,
                  std::size_t size);
