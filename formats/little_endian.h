#pragma once
// The byte order of bitmap and RIFF WAVE files: least significant byte first.
// The game reads it; the trace tool and the asset generator write it.
// Readers' callers make sure the bytes they ask for are there.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace formats {

inline uint16_t readLittle16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline uint32_t readLittle32(std::span<const uint8_t> bytes, size_t at) {
    return readLittle16(bytes, at) | static_cast<uint32_t>(readLittle16(bytes, at + 2)) << 16;
}

inline void putLittle16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void putLittle32(std::vector<uint8_t>& out, uint32_t value) {
    putLittle16(out, value & 0xFFFF);
    putLittle16(out, value >> 16);
}

// A four-character chunk name such as "RIFF".
inline void putTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace formats
