// The system's ANSI code page through the Win32 conversion functions.
#pragma once

#include "platform/CodePage.h"

class Win32AnsiCodePage final : public AnsiCodePage {
public:
    unsigned Identifier() const override;                   // GetACP
    Text Decode(const std::string& bytes) const override;   // MultiByteToWideChar(CP_ACP, 0, ...)
    std::string Encode(const Text& text) const override;    // WideCharToMultiByte(CP_ACP, 0, ...)
};
