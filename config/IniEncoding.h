// The character encodings of an INI file as the profile functions keep them:
// a file that starts with a UTF-16 byte-order mark stays UTF-16, one with the
// UTF-8 mark stays UTF-8, and any other file is in the ANSI code page
// (Windows-1252 here, the code page of the systems the service runs on).
#pragma once

#include <string>

#include "platform/Text.h"

enum class IniEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct DecodedIniText {
    IniEncoding encoding = IniEncoding::Ansi;
    Text text;
};

DecodedIniText DecodeIniBytes(const std::string& bytes);
// The file bytes for `text`, with the byte-order mark of the encoding.
std::string EncodeIniText(const Text& text, IniEncoding encoding);

// Windows-1252: the character of one byte, and the byte of one character
// ('?' for characters the code page lacks).
char16_t CharFromAnsi(unsigned char byte);
char AnsiFromChar(char16_t c);
