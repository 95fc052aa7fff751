#include "device/DebugLines.h"

Text NineBytesLine(const std::uint8_t* bytes, std::size_t available) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    Text line;
    line.reserve(27);
    for (std::size_t i = 0; i < 9; ++i) {
        const std::uint8_t b = (bytes != nullptr && i < available) ? bytes[i] : 0;
        if (i > 0) line.push_back(u' ');
        line.push_back(kDigits[b >> 4]);
        line.push_back(kDigits[b & 0xF]);
    }
    line.push_back(u'\n');
    return line;
}
