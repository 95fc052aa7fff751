#include "config/IniEncoding.h"

#include <algorithm>
#include <array>

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the five unassigned bytes map to the
// control character of the same number, as the platform's tables do.
constexpr std::array<char16_t, 32> kAnsiHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct BestFit {
    char16_t unit;
    unsigned char byte;
};

// Characters the code page lacks that the platform still writes as a similar
// byte (A for A-macron, - for the minus sign ...); any other becomes '?'.
constexpr BestFit kBestFit[] = {
#include "config/AnsiBestFit.inc"
};

Text DecodeUtf16(const std::string& bytes, std::size_t from, bool bigEndian) {
    Text out;
    out.reserve((bytes.size() - from) / 2);
    for (std::size_t i = from; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return out;
}

}  // namespace

char16_t CharFromAnsi(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kAnsiHighControls[byte - 0x80];
    return static_cast<char16_t>(byte);
}

char AnsiFromChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kAnsiHighControls.size(); ++i)
        if (kAnsiHighControls[i] == c) return static_cast<char>(0x80 + i);
    const auto* end = std::end(kBestFit);
    const auto* fit = std::lower_bound(std::begin(kBestFit), end, c,
                                       [](const BestFit& entry, char16_t unit) { return entry.unit < unit; });
    if (fit != end && fit->unit == c) return static_cast<char>(fit->byte);
    return '?';
}

DecodedIniText DecodeIniBytes(const std::string& bytes) {
    DecodedIniText decoded;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        decoded.encoding = IniEncoding::Utf8;
        decoded.text = TextFromUtf8(bytes.substr(3));
    } else if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        decoded.encoding = IniEncoding::Utf16LE;
        decoded.text = DecodeUtf16(bytes, 2, false);
    } else if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
        decoded.encoding = IniEncoding::Utf16BE;
        decoded.text = DecodeUtf16(bytes, 2, true);
    } else {
        decoded.text.reserve(bytes.size());
        for (const char byte : bytes) decoded.text.push_back(CharFromAnsi(static_cast<unsigned char>(byte)));
    }
    return decoded;
}

std::string EncodeIniText(const Text& text, IniEncoding encoding) {
    std::string out;
    switch (encoding) {
    case IniEncoding::Ansi:
        out.reserve(text.size());
        for (const char16_t c : text) out.push_back(AnsiFromChar(c));
        break;
    case IniEncoding::Utf8:
        out = "\xEF\xBB\xBF" + TextToUtf8(text);
        break;
    case IniEncoding::Utf16LE:
    case IniEncoding::Utf16BE: {
        const bool big = encoding == IniEncoding::Utf16BE;
        out.reserve(2 + text.size() * 2);
        out += big ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t c : text) {
            const char high = static_cast<char>(c >> 8);
            const char low = static_cast<char>(c & 0xFF);
            out.push_back(big ? high : low);
            out.push_back(big ? low : high);
        }
        break;
    }
    }
    return out;
}
