// Nothing is set aside before the header has been checked against the file's
// size, so a few damaged bytes can never ask for gigabytes.

#include "formats/bmp_decoder.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "formats/little_endian.h"

namespace formats {

namespace {

constexpr int64_t maxSurfaceSide = 8192;
constexpr uint32_t uncompressed = 0;
constexpr uint32_t coreHeaderSize = 12;  // the old header: 16-bit sizes, three-byte colours

// Truncating each channel, as converting to the display format does: so
// pure green, and every colour close enough to merge with it, becomes the key.
uint16_t rgb565(uint32_t red, uint32_t green, uint32_t blue) {
    return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

struct Layout {
    int64_t width = 0;
    int64_t height = 0;  // negative for a top-down file
    uint32_t bitsPerPixel = 0;
    uint32_t compression = uncompressed;
    uint32_t headerSize = 0;
    uint32_t coloursUsed = 0;
    uint32_t pixelOffset = 0;
};

bool readLayout(std::span<const uint8_t> file, Layout& layout) {
    if (file.size() < 14 + 4 || file[0] != 'B' || file[1] != 'M') return false;
    layout.pixelOffset = readLittle32(file, 10);
    layout.headerSize = readLittle32(file, 14);
    if (layout.headerSize == coreHeaderSize) {
        if (file.size() < 14 + coreHeaderSize) return false;
        layout.width = readLittle16(file, 18);
        layout.height = readLittle16(file, 20);
        layout.bitsPerPixel = readLittle16(file, 24);
        return true;
    }
    if (layout.headerSize < 40 || file.size() < 14 + size_t{40}) return false;
    layout.width = static_cast<int32_t>(readLittle32(file, 18));
    layout.height = static_cast<int32_t>(readLittle32(file, 22));
    layout.bitsPerPixel = readLittle16(file, 28);
    layout.compression = readLittle32(file, 30);
    layout.coloursUsed = readLittle32(file, 46);
    return true;
}

uint32_t colourCount(const Layout& layout) {
    if (layout.bitsPerPixel > 8) return 0;
    const uint32_t most = 1u << layout.bitsPerPixel;
    return layout.coloursUsed == 0 || layout.coloursUsed > most ? most : layout.coloursUsed;
}

size_t colourEntrySize(const Layout& layout) {
    return layout.headerSize == coreHeaderSize ? 3 : 4;
}

// Where the headers and the colour table end. Pixels said to start before
// that would show the headers' own bytes as a picture shifted along its rows
// (and an offset of 0 is no offset at all), so such a file is no picture.
uint64_t headersEnd(const Layout& layout) {
    return 14 + uint64_t{layout.headerSize} +
           uint64_t{colourCount(layout)} * colourEntrySize(layout);
}

// 0xRRGGBB, for a picture kept in full colour.
uint32_t rgb888(uint32_t red, uint32_t green, uint32_t blue) {
    return red << 16 | green << 8 | blue;
}

// The colour table, already in the picture's format.
template <typename Pixel>
bool readColours(std::span<const uint8_t> file, const Layout& layout,
                 Pixel (*colour)(uint32_t, uint32_t, uint32_t), std::vector<Pixel>& colours) {
    const uint32_t most = 1u << layout.bitsPerPixel;
    const uint32_t count = colourCount(layout);
    const size_t entrySize = colourEntrySize(layout);
    const size_t start = 14 + size_t{layout.headerSize};
    if (start + count * entrySize > file.size()) return false;
    // Pixels may name entries past the table's end; they come out black.
    colours.assign(most, 0);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = start + i * entrySize;
        colours[i] = colour(file[at + 2], file[at + 1], file[at]);
    }
    return true;
}

// The whole reader, for either pixel format; the results are set only when
// the file is a picture.
template <typename Pixel>
bool decode(std::span<const uint8_t> file, Pixel (*colour)(uint32_t, uint32_t, uint32_t),
            int32_t& widthOut, int32_t& heightOut, std::vector<Pixel>& pixelsOut) {
    Layout layout;
    if (!readLayout(file, layout) || layout.compression != uncompressed) return false;
    const uint32_t bits = layout.bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    const int64_t width = layout.width;
    const int64_t height = std::llabs(layout.height);
    if (width <= 0 || height <= 0 || width > maxSurfaceSide || height > maxSurfaceSide) {
        return false;
    }
    if (layout.pixelOffset < headersEnd(layout)) return false;
    std::vector<Pixel> colours;
    if (bits <= 8 && !readColours(file, layout, colour, colours)) return false;

    // Rows are padded to four bytes, the last one too.
    const int64_t stride = (width * bits + 31) / 32 * 4;
    const int64_t needed = stride * height;
    if (layout.pixelOffset > file.size() ||
        needed > static_cast<int64_t>(file.size() - layout.pixelOffset)) {
        return false;
    }

    const bool topDown = layout.height < 0;
    std::vector<Pixel> pixels(static_cast<size_t>(width * height));
    for (int64_t y = 0; y < height; ++y) {
        const int64_t fileRow = topDown ? y : height - 1 - y;
        const uint8_t* row = file.data() + layout.pixelOffset + fileRow * stride;
        Pixel* out = pixels.data() + y * width;
        for (int64_t x = 0; x < width; ++x) {
            switch (bits) {
                case 24:
                    out[x] = colour(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                    break;
                case 32:
                    out[x] = colour(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
                    break;
                default: {
                    // Packed indices, the leftmost pixel in the highest bits.
                    const int64_t bit = x * bits;
                    const uint32_t shift = 8 - bits - static_cast<uint32_t>(bit % 8);
                    const uint32_t index = (row[bit / 8] >> shift) & ((1u << bits) - 1);
                    out[x] = colours[index];
                    break;
                }
            }
        }
    }
    widthOut = static_cast<int32_t>(width);
    heightOut = static_cast<int32_t>(height);
    pixelsOut = std::move(pixels);
    return true;
}

}  // namespace

bool decodeBmp(std::span<const uint8_t> file, Bitmap& bitmap) {
    return decode<uint16_t>(file, rgb565, bitmap.width, bitmap.height, bitmap.pixels);
}

bool decodeBmp(std::span<const uint8_t> file, TrueColourPicture& picture) {
    return decode<uint32_t>(file, rgb888, picture.width, picture.height, picture.pixels);
}

}  // namespace formats
