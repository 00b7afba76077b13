#pragma once
// Bitmap files made in memory for the tests that read pictures.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace testbmp {

// A bottom-up 24-bit BMP file, pixels given top row first as 0xRRGGBB.
inline std::vector<uint8_t> makeBmp(int width, int height, const std::vector<uint32_t>& rgb) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const uint32_t dataSize = static_cast<uint32_t>(rowBytes * height);
    std::vector<uint8_t> file(54 + dataSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        file[at] = static_cast<uint8_t>(v);
        file[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    for (int y = 0; y < height; ++y) {
        const size_t row = 54 + static_cast<size_t>((height - 1 - y) * rowBytes);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = rgb[static_cast<size_t>(y * width + x)];
            file[row + x * 3] = static_cast<uint8_t>(c);
            file[row + x * 3 + 1] = static_cast<uint8_t>(c >> 8);
            file[row + x * 3 + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    return file;
}

}  // namespace testbmp
