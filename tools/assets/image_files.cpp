#include "image_files.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "little_endian.h"

bool writeBmp(const std::string& path, const Image& image) {
    uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    uint32_t pixelBytes = stride * static_cast<uint32_t>(image.height);
    constexpr uint32_t headerBytes = 14 + 40;
    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);  // reserved
    put32(out, headerBytes);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));  // positive: rows bottom-up
    put16(out, 1);                                    // planes
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.rgb[static_cast<size_t>(y) * image.width * 3];
        for (int x = 0; x < image.width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3 + 0]);
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}
