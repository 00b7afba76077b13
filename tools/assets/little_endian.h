#pragma once
// Writing in the byte order of BMP and RIFF WAVE files, least significant
// byte first (platform/little_endian.h reads it).

#include <cstddef>
#include <cstdint>
#include <vector>

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A four-character chunk name such as "RIFF".
inline void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}
