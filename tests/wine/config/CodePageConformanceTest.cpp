// The host's code page tables against the platform's own conversion, under
// the ANSI code page of the locale the test runs in (CTest runs it under a
// Western, a Cyrillic and a Japanese locale). Every single byte, every pair
// of bytes and every UTF-16 unit must convert alike, and so must random texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/win32/Win32CodePage.h"

namespace {

std::string Units(const Text& text) {
    std::string out;
    char unit[8];
    for (char16_t c : text) {
        std::snprintf(unit, sizeof unit, " %04X", static_cast<unsigned>(c));
        out += unit;
    }
    return out;
}

std::string Bytes(const std::string& bytes) {
    std::string out;
    char byte[4];
    for (unsigned char c : bytes) {
        std::snprintf(byte, sizeof byte, " %02X", c);
        out += byte;
    }
    return out;
}

class CodePageConformance : public ::testing::Test {
protected:
    void SetUp() override {
        table = MakeTableCodePage(::GetACP());
        ASSERT_NE(table, nullptr) << "no table for code page " << ::GetACP();
        ASSERT_EQ(table->Identifier(), system.Identifier());
    }

    // Records a mismatch; the first few are printed in full.
    void Mismatch(const std::string& what) {
        if (++mismatches <= 10) ADD_FAILURE() << what;
    }

    Win32AnsiCodePage system;
    std::unique_ptr<AnsiCodePage> table;
    int mismatches = 0;
};

TEST_F(CodePageConformance, EverySingleByteAndPairDecodesAlike) {
    for (unsigned first = 0; first < 256; ++first) {
        const std::string one(1, static_cast<char>(first));
        if (table->Decode(one) != system.Decode(one))
            Mismatch("byte" + Bytes(one) + ": table" + Units(table->Decode(one)) + ", platform" +
                     Units(system.Decode(one)));
        for (unsigned second = 0; second < 256; ++second) {
            const std::string two{static_cast<char>(first), static_cast<char>(second)};
            if (table->Decode(two) != system.Decode(two))
                Mismatch("bytes" + Bytes(two) + ": table" + Units(table->Decode(two)) + ", platform" +
                         Units(system.Decode(two)));
        }
    }
    EXPECT_EQ(mismatches, 0) << "code page " << ::GetACP();
}

TEST_F(CodePageConformance, EveryUnitEncodesAlike) {
    for (unsigned unit = 1; unit <= 0xFFFF; ++unit) {
        const Text one(1, static_cast<char16_t>(unit));
        if (table->Encode(one) != system.Encode(one))
            Mismatch("unit" + Units(one) + ": table" + Bytes(table->Encode(one)) + ", platform" +
                     Bytes(system.Encode(one)));
    }
    EXPECT_EQ(mismatches, 0) << "code page " << ::GetACP();
}

TEST_F(CodePageConformance, RandomTextsConvertAlike) {
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(1 + next() % 40, '\0');
        // Mostly high bytes, with line ends, zeros and ASCII among them.
        for (char& b : bytes) {
            const std::uint32_t pick = next() % 10;
            b = static_cast<char>(pick == 0 ? "\r\n\0=["[next() % 5] : pick < 3 ? 0x20 + next() % 0x60 : 0x80 + next() % 0x80);
        }
        const Text decoded = system.Decode(bytes);
        if (table->Decode(bytes) != decoded)
            Mismatch("text" + Bytes(bytes) + ": table" + Units(table->Decode(bytes)) + ", platform" + Units(decoded));
        if (table->Encode(decoded) != system.Encode(decoded))
            Mismatch("units" + Units(decoded) + ": table" + Bytes(table->Encode(decoded)) + ", platform" +
                     Bytes(system.Encode(decoded)));
    }
    EXPECT_EQ(mismatches, 0) << "code page " << ::GetACP();
}

}  // namespace
