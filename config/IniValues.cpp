#include "config/IniValues.h"

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// Digit value as the block and number readers accept it: 0-9, then letters
// A-Z (either case) as 10 to 35. The caller decides which values are allowed.
int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
    if (c >= u'a' && c <= u'z') return c - u'a' + 10;
    return -1;
}

}  // namespace

bool IsIniSpace(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

Text TrimIniSpaces(const Text& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsIniSpace(text[begin])) ++begin;
    while (end > begin && IsIniSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

Text TrimLeadingIniSpaces(const Text& text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsIniSpace(text[begin])) ++begin;
    return text.substr(begin);
}

Text CopyIniEntry(const Text& value, std::size_t room) {
    if (room == 0) return Text();
    std::size_t start = 0;
    bool quoted = false;
    if (value.size() >= 2 && (value[0] == u'\'' || value[0] == u'"') && value.back() == value[0]) {
        quoted = true;
        start = 1;
    }
    const std::size_t available = value.size() - start;
    const std::size_t kept = available < room - 1 ? available : room - 1;
    Text out = value.substr(start, kept);
    // The closing quote goes only when the whole value fitted.
    if (quoted && room >= available && !out.empty()) out.pop_back();
    return out;
}

std::int32_t ParseIniNumber(const Text& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] <= u' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (n - i >= 2 && text[i] == u'0') {
        if (text[i + 1] == u'x') base = 16;
        if (text[i + 1] == u'o') base = 8;
        if (text[i + 1] == u'b') base = 2;
        if (base != 10) i += 2;
    }
    std::uint32_t total = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
        total = total * base + static_cast<std::uint32_t>(digit);
    }
    if (negative) total = 0u - total;
    return static_cast<std::int32_t>(total);
}

Text EncodeIniBlock(const std::uint8_t* bytes, std::size_t size) {
    Text out;
    out.reserve(size * 2 + 2);
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(kHexDigits[bytes[i] >> 4]);
        out.push_back(kHexDigits[bytes[i] & 0xF]);
        sum += bytes[i];
    }
    out.push_back(kHexDigits[(sum >> 4) & 0xF]);
    out.push_back(kHexDigits[sum & 0xF]);
    return out;
}

bool IsWellFormedIniBlock(const Text& text, std::size_t size) {
    if (text.size() != size * 2 + 2) return false;
    for (const char16_t c : text)
        if (DigitValue(c) < 0 || DigitValue(c) > 15) return false;
    return true;
}

std::optional<std::vector<std::uint8_t>> DecodeIniBlock(const Text& text, std::size_t size) {
    // Trailing characters and letters past F make a damaged block, not one
    // read in part or with made-up digit values.
    if (!IsWellFormedIniBlock(text, size)) return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    std::uint8_t sum = 0;
    auto pairAt = [&text](std::size_t at) { return DigitValue(text[at]) * 16 + DigitValue(text[at + 1]); };
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(pairAt(i * 2));
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    }
    if (static_cast<std::uint8_t>(pairAt(size * 2)) != sum) return std::nullopt;
    return bytes;
}
