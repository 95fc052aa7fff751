// The character encodings of an INI file as the profile functions keep them:
// a file that starts with a UTF-16 byte-order mark stays UTF-16, one with the
// UTF-8 mark stays UTF-8, and any other file is in the system's ANSI code page.
#pragma once

#include <string>

#include "platform/CodePage.h"
#include "platform/Text.h"

enum class IniEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct DecodedIniText {
    IniEncoding encoding = IniEncoding::Ansi;
    Text text;
};

// `ansi` converts a file without a byte-order mark.
DecodedIniText DecodeIniBytes(const std::string& bytes, const AnsiCodePage& ansi);
// The file bytes for `text`, with the byte-order mark of the encoding.
std::string EncodeIniText(const Text& text, IniEncoding encoding, const AnsiCodePage& ansi);
