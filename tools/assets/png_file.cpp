// PNG writing without a compression library: the image data goes into
// stored (uncompressed) deflate blocks, which every PNG reader accepts.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "image_files.h"

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    putBig32(out, static_cast<uint32_t>(body.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBig32(out, crc32(&out[start], out.size() - start));
}

std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t length = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<long>(pos),
                   raw.begin() + static_cast<long>(pos + length));
        pos += length;
    } while (pos < raw.size());
    putBig32(out, adler32(raw));
    return out;
}

// One PNG of 8-bit samples: `channels` 3 is RGB, 4 is RGBA.
bool writePngRows(const std::string& path, int width, int height, int channels,
                  const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBig32(header, static_cast<uint32_t>(width));
    putBig32(header, static_cast<uint32_t>(height));
    const uint8_t colourType = channels == 4 ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits a sample, no interlace
    putChunk(out, "IHDR", header);

    std::vector<uint8_t> raw;
    const size_t rowBytes = static_cast<size_t>(width) * channels;
    raw.reserve(static_cast<size_t>(height) * (rowBytes + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        const uint8_t* row = &samples[static_cast<size_t>(y) * rowBytes];
        raw.insert(raw.end(), row, row + rowBytes);
    }
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});

    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

uint8_t sampleByte(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

}  // namespace

bool writePng(const std::string& path, const Image& image) {
    return writePngRows(path, image.width, image.height, 3, image.rgb);
}

bool writePngWithAlpha(const std::string& path, const Canvas& canvas) {
    std::vector<uint8_t> samples;
    samples.reserve(canvas.pixels.size() * 4);
    for (const Pixel& p : canvas.pixels) {
        // A pixel nothing covers keeps no stray colour for a viewer to show.
        const bool empty = sampleByte(p.alpha) == 0;
        samples.push_back(empty ? 0 : sampleByte(p.colour.r));
        samples.push_back(empty ? 0 : sampleByte(p.colour.g));
        samples.push_back(empty ? 0 : sampleByte(p.colour.b));
        samples.push_back(sampleByte(p.alpha));
    }
    return writePngRows(path, canvas.width, canvas.height, 4, samples);
}
