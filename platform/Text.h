// UTF-16 text as the service keeps it in both builds: std::u16string,
// with small helpers for formatting numbers and for talking to UTF-8 test code.
#pragma once

#include <cstdint>
#include <string>

using Text = std::u16string;

// Converts UTF-8 to UTF-16 (invalid bytes become U+FFFD).
Text TextFromUtf8(const std::string& utf8);
// Converts UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string TextToUtf8(const Text& text);

// Signed decimal text of a number ("%d").
Text TextFromInt(std::int64_t value);

// Copies text into a fixed array of `capacity` units including the
// terminating zero; text that does not fit is cut. Never writes past it.
void CopyTextToField(const Text& text, char16_t* field, std::size_t capacity);
// Reads a zero-terminated field of `capacity` units (stops at capacity).
Text TextFromField(const char16_t* field, std::size_t capacity);

// Case folding as the system's case-insensitive ordinal comparison does it
// (the one behind window titles and classes, INI section and key names, and
// file names): each letter maps to its simple capital. Covers the letters of
// Basic Latin, Latin-1, Greek and Cyrillic; every other character is itself.
// So final sigma and sigma both fold to capital sigma, and a character with
// no capital (sharp s, the multiplication sign, an unassigned code) matches
// only itself.
char16_t FoldCase(char16_t c);
bool EqualsIgnoringCase(const Text& a, const Text& b);
