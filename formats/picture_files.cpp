// BMP and PNG files without an image library. A PNG's picture data is
// deflated with the fixed codes and copies from up to 32 KiB back, a dozen
// rows of the screen: no match for a compression library, but a frame of the
// game with its wide flat skies shrinks several times over, and every PNG
// reader takes it.

#include "formats/picture_files.h"

#include <algorithm>
#include <array>

#include "formats/little_endian.h"

namespace formats {

namespace {

uint32_t crc32(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
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

void putBig32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    putBig32(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    putTag(out, type);
    out.insert(out.end(), body.begin(), body.end());
    putBig32(out, crc32(&out[start], out.size() - start));
}

// Deflate's bits go out least significant first; its codes most significant
// first, so those are reversed on the way.
class BitWriter {
  public:
    explicit BitWriter(std::vector<uint8_t>& out) : out(out) {}
    void put(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) putBit((value >> i) & 1);
    }
    void putCode(uint32_t code, int count) {
        for (int i = count - 1; i >= 0; --i) putBit((code >> i) & 1);
    }
    void flush() {
        if (used > 0) out.push_back(static_cast<uint8_t>(pending));
        pending = 0;
        used = 0;
    }

  private:
    void putBit(uint32_t bit) {
        pending |= bit << used;
        if (++used == 8) flush();
    }
    std::vector<uint8_t>& out;
    uint32_t pending = 0;
    int used = 0;
};

// The fixed code of a literal byte or of a length symbol (256 and up).
void putSymbol(BitWriter& bits, uint32_t symbol) {
    if (symbol < 144) {
        bits.putCode(0x30 + symbol, 8);
    } else if (symbol < 256) {
        bits.putCode(0x190 + symbol - 144, 9);
    } else if (symbol < 280) {
        bits.putCode(symbol - 256, 7);
    } else {
        bits.putCode(0xC0 + symbol - 280, 8);
    }
}

constexpr uint16_t lengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                   31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t distanceBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                     33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                     1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};

void putMatch(BitWriter& bits, size_t length, size_t distance) {
    size_t code = std::size(lengthBase) - 1;
    while (lengthBase[code] > length) --code;
    putSymbol(bits, static_cast<uint32_t>(257 + code));
    bits.put(static_cast<uint32_t>(length - lengthBase[code]), lengthExtra[code]);
    size_t place = std::size(distanceBase) - 1;
    while (distanceBase[place] > distance) --place;
    bits.putCode(static_cast<uint32_t>(place), 5);
    bits.put(static_cast<uint32_t>(distance - distanceBase[place]),
             static_cast<int>(place < 4 ? 0 : place / 2 - 1));
}

// One final block with the fixed codes: each position takes the longest
// earlier copy among the last few that began with the same three bytes.
void deflateInto(std::vector<uint8_t>& out, const std::vector<uint8_t>& raw) {
    constexpr size_t window = 32768;
    constexpr size_t longest = 258;
    constexpr int triesAtMost = 16;
    constexpr uint32_t none = UINT32_MAX;
    std::vector<uint32_t> head(1 << 15, none);
    std::vector<uint32_t> previous(window, none);
    const auto hashAt = [&raw](size_t at) {
        return ((raw[at] << 10) ^ (raw[at + 1] << 5) ^ raw[at + 2]) & 0x7FFF;
    };
    const auto remember = [&](size_t at) {
        if (at + 2 >= raw.size()) return;
        const uint32_t hash = hashAt(at);
        previous[at % window] = head[hash];
        head[hash] = static_cast<uint32_t>(at);
    };

    BitWriter bits(out);
    bits.put(1, 1);  // the last block
    bits.put(1, 2);  // fixed codes
    size_t at = 0;
    while (at < raw.size()) {
        size_t bestLength = 0;
        size_t bestDistance = 0;
        if (at + 2 < raw.size()) {
            const size_t reach = std::min(longest, raw.size() - at);
            uint32_t candidate = head[hashAt(at)];
            for (int tries = 0; tries < triesAtMost && candidate != none; ++tries) {
                if (at - candidate > window - 1) break;
                size_t length = 0;
                while (length < reach && raw[candidate + length] == raw[at + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = at - candidate;
                    if (length == reach) break;
                }
                const uint32_t earlier = previous[candidate % window];
                if (earlier == none || earlier >= candidate) break;
                candidate = earlier;
            }
        }
        if (bestLength >= 3) {
            putMatch(bits, bestLength, bestDistance);
            for (size_t i = 0; i < bestLength; ++i) remember(at + i);
            at += bestLength;
        } else {
            putSymbol(bits, raw[at]);
            remember(at);
            ++at;
        }
    }
    putSymbol(bits, 256);  // end of block
    bits.flush();
}

}  // namespace

std::vector<uint8_t> rgbSamples(int32_t width, int32_t height, std::span<const uint16_t> pixels) {
    const size_t count =
        static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
    std::vector<uint8_t> rgb(count * 3, 0);
    const size_t known = std::min(count, pixels.size());
    for (size_t i = 0; i < known; ++i) {
        const uint32_t pixel = pixels[i];
        const uint32_t r = pixel >> 11;
        const uint32_t g = (pixel >> 5) & 0x3F;
        const uint32_t b = pixel & 0x1F;
        rgb[i * 3 + 0] = static_cast<uint8_t>((r << 3) | (r >> 2));
        rgb[i * 3 + 1] = static_cast<uint8_t>((g << 2) | (g >> 4));
        rgb[i * 3 + 2] = static_cast<uint8_t>((b << 3) | (b >> 2));
    }
    return rgb;
}

std::vector<uint8_t> encodeBmp(int width, int height, std::span<const uint8_t> rgb) {
    const auto columns = static_cast<uint32_t>(std::max(width, 0));
    const auto rows = static_cast<uint32_t>(std::max(height, 0));
    const uint32_t stride = (columns * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * rows;
    constexpr uint32_t headerBytes = 14 + 40;
    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    putLittle32(out, headerBytes + pixelBytes);
    putLittle32(out, 0);  // reserved
    putLittle32(out, headerBytes);
    putLittle32(out, 40);  // BITMAPINFOHEADER
    putLittle32(out, columns);
    putLittle32(out, rows);  // positive: rows bottom to top
    putLittle16(out, 1);     // planes
    putLittle16(out, 24);
    putLittle32(out, 0);  // no compression
    putLittle32(out, pixelBytes);
    putLittle32(out, 2835);  // 72 dpi
    putLittle32(out, 2835);
    putLittle32(out, 0);
    putLittle32(out, 0);
    for (uint32_t row = rows; row-- > 0;) {
        const size_t start = static_cast<size_t>(row) * columns * 3;
        for (uint32_t column = 0; column < columns; ++column) {
            const size_t at = start + static_cast<size_t>(column) * 3;
            const bool there = at + 2 < rgb.size();
            out.push_back(there ? rgb[at + 2] : 0);
            out.push_back(there ? rgb[at + 1] : 0);
            out.push_back(there ? rgb[at + 0] : 0);
        }
        out.resize(out.size() + (stride - columns * 3), 0);
    }
    return out;
}

std::vector<uint8_t> encodePng(int width, int height, int channels,
                               std::span<const uint8_t> samples) {
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return {};
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(channels);
    if (samples.size() != rowBytes * static_cast<size_t>(height)) return {};

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBig32(header, static_cast<uint32_t>(width));
    putBig32(header, static_cast<uint32_t>(height));
    const uint8_t colourType = channels == 4 ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits a sample, no interlace
    putChunk(out, "IHDR", header);

    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (rowBytes + 1));
    for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
        raw.push_back(0);  // filter: none
        const auto row = samples.subspan(y * rowBytes, rowBytes);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    deflateInto(zlib, raw);
    putBig32(zlib, adler32(raw));
    putChunk(out, "IDAT", zlib);
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace formats
