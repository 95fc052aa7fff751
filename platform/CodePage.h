// The system's ANSI code page: the encoding of a text file without a
// byte-order mark. On Windows it is the system's own conversion; on the host
// a code page chosen by the test, converted with tables that were generated
// from the platform's conversion (platform/codepage/, checked against it by
// tests/wine/config/CodePageConformanceTest.cpp).
#pragma once

#include <memory>
#include <string>

#include "platform/Text.h"

class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // GetACP.
    virtual unsigned Identifier() const = 0;
    // MultiByteToWideChar(CP_ACP, 0, ...): bytes that form no character
    // become the code page's default character, never an error.
    virtual Text Decode(const std::string& bytes) const = 0;
    // WideCharToMultiByte(CP_ACP, 0, ..., null default): characters the code
    // page lacks are written as the platform chooses (a similar character or '?').
    virtual std::string Encode(const Text& text) const = 0;
};

// Code pages the host can convert by table: 1252 (Western), 1251 (Cyrillic),
// 932 (Japanese). Null for any other.
std::unique_ptr<AnsiCodePage> MakeTableCodePage(unsigned identifier);
