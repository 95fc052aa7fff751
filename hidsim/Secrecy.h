// The reversible transform of HIDApi.dll's secrecy entry points. It works in
// place on a 9-byte report frame: offset 0 (the report-ID byte) is left as it
// is, offsets 1 to 8 are transformed. The simulated mouse encodes what it
// sends in collection mode and the service decodes it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace secrecy {

constexpr std::size_t kFrameBytes = 9;
constexpr std::uint8_t kKey[8] = {0x5A, 0xC3, 0x19, 0xE7, 0x42, 0x8D, 0x36, 0xB1};

constexpr std::uint8_t RotateLeft3(std::uint8_t v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 5));
}
constexpr std::uint8_t RotateRight3(std::uint8_t v) {
    return static_cast<std::uint8_t>((v >> 3) | (v << 5));
}

// Byte i of the payload: decoded = rotl3(encoded) ^ key[i].
constexpr std::uint8_t DecodeByte(std::uint8_t encoded, std::size_t i) {
    return static_cast<std::uint8_t>(RotateLeft3(encoded) ^ kKey[i % 8]);
}
constexpr std::uint8_t EncodeByte(std::uint8_t plain, std::size_t i) {
    return RotateRight3(static_cast<std::uint8_t>(plain ^ kKey[i % 8]));
}

inline void DecodeFrame(std::uint8_t* frame) {
    for (std::size_t i = 0; i < 8; ++i) frame[1 + i] = DecodeByte(frame[1 + i], i);
}
inline void EncodeFrame(std::uint8_t* frame) {
    for (std::size_t i = 0; i < 8; ++i) frame[1 + i] = EncodeByte(frame[1 + i], i);
}

}  // namespace secrecy
