#include "config/IniEncoding.h"

namespace {

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

DecodedIniText DecodeIniBytes(const std::string& bytes, const AnsiCodePage& ansi) {
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
        decoded.text = ansi.Decode(bytes);
    }
    return decoded;
}

std::string EncodeIniText(const Text& text, IniEncoding encoding, const AnsiCodePage& ansi) {
    std::string out;
    switch (encoding) {
    case IniEncoding::Ansi:
        out = ansi.Encode(text);
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
