#include "platform/Text.h"

Text TextFromUtf8(const std::string& utf8) {
    Text out;
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 && i + 1 < n) {
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            len = 2;
        } else if ((c >> 4) == 0xE && i + 2 < n) {
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            len = 3;
        } else if ((c >> 3) == 0x1E && i + 3 < n) {
            cp = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 12) |
                 ((static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(utf8[i + 3]) & 0x3Fu);
            len = 4;
        }
        i += len;
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else if (cp > 0x10FFFF) {
            out.push_back(u'\xFFFD');
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string TextToUtf8(const Text& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

Text TextFromInt(std::int64_t value) {
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(value + 1)) + 1 : static_cast<std::uint64_t>(value);
    Text digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) digits.insert(digits.begin(), u'-');
    return digits;
}

void CopyTextToField(const Text& text, char16_t* field, std::size_t capacity) {
    if (capacity == 0) return;
    std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    // A string is never cut between the halves of a surrogate pair.
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    for (std::size_t i = 0; i < n; ++i) field[i] = text[i];
    for (std::size_t i = n; i < capacity; ++i) field[i] = 0;
}

Text TextFromField(const char16_t* field, std::size_t capacity) {
    std::size_t n = 0;
    while (n < capacity && field[n] != 0) ++n;
    return Text(field, n);
}

char16_t FoldCase(char16_t c) {
    const auto minus = [c](int n) { return static_cast<char16_t>(c - n); };
    if (c < 0x80) return c >= u'a' && c <= u'z' ? minus(0x20) : c;
    if (c == 0xB5) return 0x39C;                                // micro sign: capital mu
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return minus(0x20);  // à..þ without ÷
    if (c == 0xFF) return 0x178;                                // ÿ
    if (c == 0x3AC) return 0x386;                               // ά
    if (c >= 0x3AD && c <= 0x3AF) return minus(0x25);           // έ ή ί
    if (c == 0x3C2) return 0x3A3;                               // final sigma
    if (c >= 0x3B1 && c <= 0x3CB) return minus(0x20);           // α..ϋ
    if (c == 0x3CC) return 0x38C;                               // ό
    if (c == 0x3CD || c == 0x3CE) return minus(0x3F);           // ύ ώ
    if (c >= 0x430 && c <= 0x44F) return minus(0x20);           // а..я
    if (c >= 0x450 && c <= 0x45F) return minus(0x50);           // ѐ..џ
    return c;
}

bool EqualsIgnoringCase(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}
