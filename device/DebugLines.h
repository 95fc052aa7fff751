// Formatting of the device link's debug lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Text.h"

// "%02x %02x %02x %02x %02x %02x %02x %02x %02x\n" with bytes 0 to 8;
// bytes at or beyond `available` print as 00 and are never read.
Text NineBytesLine(const std::uint8_t* bytes, std::size_t available);
