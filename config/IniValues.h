// How the profile functions turn stored text into numbers, texts and byte
// blocks, and byte blocks into text. Pure functions, shared by both INI
// implementations and by the tests that compare them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Text.h"

// Space as the profile functions trim it: tab to carriage return, ^Z and blank.
bool IsIniSpace(char16_t c);
Text TrimIniSpaces(const Text& text);
Text TrimLeadingIniSpaces(const Text& text);

// What a text read returns for a stored value (or the default): one pair of
// matching enclosing quotes removed, cut to room - 1 characters.
Text CopyIniEntry(const Text& value, std::size_t room);

// The number a read of an integer makes of a returned text: blanks and
// control characters skipped, one sign, an optional 0x / 0o / 0b prefix,
// digits up to the first one that does not belong; 32-bit wrap-around.
std::int32_t ParseIniNumber(const Text& text);

// The structure encoding: two upper-case hexadecimal digits per byte, then
// two more holding the low 8 bits of the byte sum.
Text EncodeIniBlock(const std::uint8_t* bytes, std::size_t size);
// True when the text is exactly two hexadecimal digits (either case) per
// byte of a `size`-byte block plus the two checksum digits.
bool IsWellFormedIniBlock(const Text& text, std::size_t size);
// Room of a text read that tells a well-formed block from a longer value.
constexpr std::size_t IniBlockReadRoom(std::size_t size) { return size * 2 + 4; }
// The bytes of an encoded block of exactly `size` bytes, or nothing when the
// text is not well formed or its checksum does not match.
std::optional<std::vector<std::uint8_t>> DecodeIniBlock(const Text& text, std::size_t size);
