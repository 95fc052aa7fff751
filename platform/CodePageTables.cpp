// Table conversion of the code pages the host knows. Each table holds what
// the platform's conversion does: the unit of every single byte, the
// double-byte runs of a multi-byte code page, and the units the platform
// writes otherwise than as the lowest byte sequence that decodes to them.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/CodePage.h"

namespace {

struct ByteRun {
    std::uint16_t bytes;  // lead << 8 | trail
    std::uint16_t count;
    std::uint16_t unit;
};

struct UnitBytes {
    std::uint16_t unit;
    std::uint16_t bytes;  // one byte, or lead << 8 | trail
};

struct CodePageData {
    unsigned id;
    char16_t invalidUnit;  // a lead byte without a following byte that completes it
    const bool* leadBytes;
    const char16_t* single;
    const ByteRun* pairs;
    std::size_t pairCount;
    const UnitBytes* encodeExceptions;
    std::size_t exceptionCount;
};

namespace cp1252 {
#include "platform/codepage/CodePage1252.inc"
}
namespace cp1251 {
#include "platform/codepage/CodePage1251.inc"
}
namespace cp932 {
#include "platform/codepage/CodePage932.inc"
}

#define CODE_PAGE_DATA(ns)                                                                              \
    CodePageData {                                                                                      \
        ns::kId, ns::kInvalidUnit, ns::kLeadBytes, ns::kSingle, ns::kPairs, std::size(ns::kPairs),      \
            ns::kEncodeExceptions, std::size(ns::kEncodeExceptions)                                     \
    }

constexpr CodePageData kCodePages[] = {CODE_PAGE_DATA(cp1252), CODE_PAGE_DATA(cp1251), CODE_PAGE_DATA(cp932)};

// Unit -> its bytes (one byte, or lead << 8 | trail), kNone for '?'.
constexpr std::uint32_t kNone = 0xFFFFFFFF;

std::vector<std::uint32_t> BuildEncodeIndex(const CodePageData& data) {
    std::vector<std::uint32_t> encoded(0x10000, kNone);
    // The lowest sequence for each unit: single bytes first, then pairs in byte order.
    for (unsigned b = 0; b < 256; ++b)
        if (!data.leadBytes[b] && encoded[data.single[b]] == kNone) encoded[data.single[b]] = b;
    for (std::size_t i = 0; i < data.pairCount; ++i)
        for (unsigned k = 0; k < data.pairs[i].count; ++k) {
            std::uint32_t& slot = encoded[static_cast<std::uint16_t>(data.pairs[i].unit + k)];
            if (slot == kNone) slot = data.pairs[i].bytes + k;
        }
    for (std::size_t i = 0; i < data.exceptionCount; ++i)
        encoded[data.encodeExceptions[i].unit] = data.encodeExceptions[i].bytes;
    return encoded;
}

// Built once per code page, at its first encoding, and shared.
const std::vector<std::uint32_t>& EncodeIndex(std::size_t which) {
    static std::once_flag once[std::size(kCodePages)];
    static std::vector<std::uint32_t> index[std::size(kCodePages)];
    std::call_once(once[which], [which] { index[which] = BuildEncodeIndex(kCodePages[which]); });
    return index[which];
}

class TableCodePage final : public AnsiCodePage {
public:
    explicit TableCodePage(std::size_t which) : which_(which), data_(kCodePages[which]) {}

    unsigned Identifier() const override { return data_.id; }

    Text Decode(const std::string& bytes) const override {
        Text out;
        out.reserve(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            // A lead byte takes the next byte with it unless that is the end or a zero byte.
            if (data_.leadBytes[byte] && i + 1 < bytes.size() && bytes[i + 1] != '\0') {
                out.push_back(DecodePair(static_cast<std::uint16_t>(byte << 8 | static_cast<unsigned char>(bytes[i + 1]))));
                ++i;
                continue;
            }
            out.push_back(data_.single[byte]);
        }
        return out;
    }

    std::string Encode(const Text& text) const override {
        const std::vector<std::uint32_t>& encoded = EncodeIndex(which_);
        std::string out;
        out.reserve(text.size());
        for (const char16_t unit : text) {
            const std::uint32_t bytes = encoded[unit];
            if (bytes == kNone) {
                out.push_back('?');
            } else if (bytes > 0xFF) {
                out.push_back(static_cast<char>(bytes >> 8));
                out.push_back(static_cast<char>(bytes & 0xFF));
            } else {
                out.push_back(static_cast<char>(bytes));
            }
        }
        return out;
    }

private:
    char16_t DecodePair(std::uint16_t sequence) const {
        const ByteRun* end = data_.pairs + data_.pairCount;
        // The last run that starts at or before the sequence.
        const ByteRun* after = std::upper_bound(data_.pairs, end, sequence,
                                                [](std::uint16_t s, const ByteRun& run) { return s < run.bytes; });
        if (after == data_.pairs) return data_.invalidUnit;
        const ByteRun& run = *(after - 1);
        if (sequence - run.bytes >= run.count) return data_.invalidUnit;
        return static_cast<char16_t>(run.unit + (sequence - run.bytes));
    }

    std::size_t which_;
    const CodePageData& data_;
};

}  // namespace

std::unique_ptr<AnsiCodePage> MakeTableCodePage(unsigned identifier) {
    for (std::size_t which = 0; which < std::size(kCodePages); ++which)
        if (kCodePages[which].id == identifier) return std::make_unique<TableCodePage>(which);
    return nullptr;
}
