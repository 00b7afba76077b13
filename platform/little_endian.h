#pragma once
// The byte order of bitmap and RIFF WAVE files: least significant byte first.
// Callers make sure the bytes they ask for are there.

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

inline uint16_t readLittle16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline uint32_t readLittle32(std::span<const uint8_t> bytes, size_t at) {
    return readLittle16(bytes, at) | static_cast<uint32_t>(readLittle16(bytes, at + 2)) << 16;
}

}  // namespace platform
