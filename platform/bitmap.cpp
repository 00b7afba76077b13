// Bitmap resources: decoded by SDL from memory into RGB565 pictures, then
// copied onto surfaces.

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "platform/backend.h"

namespace platform {

namespace {

constexpr int maxSurfaceSide = 8192;

// What a bitmap file's header promises, as far as memory is concerned.
struct BitmapHeader {
    int64_t width = 0;
    int64_t height = 0;
    int64_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t pixelOffset = 0;
    uint32_t infoSize = 0;
    uint32_t coloursUsed = 0;
};

constexpr uint32_t runLength8 = 1;
constexpr uint32_t runLength4 = 2;
constexpr uint32_t bitFields = 3;
constexpr int64_t fileHeaderSize = 14;
constexpr uint32_t coreHeaderSize = 12;
constexpr uint32_t infoHeaderSize = 40;

// Reads the sizes from the file and info headers. The decoder reads the
// fields a short file lacks as zeros, and so does this.
BitmapHeader readHeader(std::span<const uint8_t> bytes) {
    std::array<uint8_t, 54> head{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), head.size()), head.begin());
    auto read16 = [&](size_t at) { return static_cast<uint32_t>(head[at] | head[at + 1] << 8); };
    auto read32 = [&](size_t at) { return read16(at) | read16(at + 2) << 16; };
    BitmapHeader header;
    header.pixelOffset = read32(10);
    header.infoSize = read32(14);
    if (header.infoSize == coreHeaderSize) {  // the old, short header: 16-bit sizes, no compression
        header.width = read16(18);
        header.height = read16(20);
        header.bitsPerPixel = read16(24);
        return header;
    }
    header.width = static_cast<int32_t>(read32(18));
    header.height = static_cast<int32_t>(read32(22));
    header.bitsPerPixel = read16(28);
    header.compression = read32(30);
    header.coloursUsed = read32(46);
    return header;
}

// Where the decoder has read everything before the pixels: both headers, the
// colour masks a plain info header is followed by, and the colour table of a
// picture of 8 bits or fewer.
int64_t headersEnd(const BitmapHeader& header) {
    int64_t end = fileHeaderSize + header.infoSize;
    if (header.infoSize == infoHeaderSize && header.compression == bitFields) end += 3 * 4;
    if (header.bitsPerPixel >= 1 && header.bitsPerPixel <= 8) {
        const int64_t most = int64_t{1} << header.bitsPerPixel;
        const int64_t colours =
            header.coloursUsed == 0 || header.coloursUsed > most ? most : header.coloursUsed;
        end += colours * (header.infoSize == coreHeaderSize ? 3 : 4);
    }
    return end;
}

// The decoder sets aside the whole picture a header promises before it reads
// a single pixel, so a few damaged bytes could ask for gigabytes. A header
// must promise no more than a surface can hold and, unless its pixels are
// run-length packed, no more pixel bytes than the file holds. Pixels said to
// start inside the headers would show the headers' own bytes as a picture
// shifted along its rows (and an offset of 0 is no offset at all), so such a
// file is no picture.
bool plausibleBitmapHeader(std::span<const uint8_t> bytes) {
    const BitmapHeader header = readHeader(bytes);
    const int64_t width = std::llabs(header.width);
    const int64_t height = std::llabs(header.height);
    if (width > maxSurfaceSide || height > maxSurfaceSide) return false;
    if (header.pixelOffset < headersEnd(header)) return false;
    if (header.compression == runLength8 || header.compression == runLength4) return true;
    if (width == 0 || height == 0) return true;
    if (header.pixelOffset > bytes.size()) return false;
    // Rows are padded to four bytes; the last one needs only its pixels.
    const int64_t rowBits = width * header.bitsPerPixel;
    const int64_t stride = (rowBits + 31) / 32 * 4;
    const int64_t needed = stride * (height - 1) + (rowBits + 7) / 8;
    return needed <= static_cast<int64_t>(bytes.size() - header.pixelOffset);
}

}  // namespace

Bitmap* loadBitmap(const Module* module, int resourceId) {
    backend().note("loadBitmap", resourceId);
    const Resource* resource = findResource(module, ResourceType::Bitmap, resourceId);
    if (resource == nullptr || backend().refuses("loadBitmap")) return nullptr;
    if (resource->bytes.size() > static_cast<size_t>(INT32_MAX)) return nullptr;
    if (!plausibleBitmapHeader(resource->bytes)) return nullptr;

    // SDL's BMP decoder reads from memory and needs no display.
    SDL_RWops* stream =
        SDL_RWFromConstMem(resource->bytes.data(), static_cast<int>(resource->bytes.size()));
    if (stream == nullptr) return nullptr;
    SDL_Surface* decoded = SDL_LoadBMP_RW(stream, 1);
    if (decoded == nullptr) return nullptr;
    // Converting to RGB565 by truncation turns pure green into exactly 0x07E0.
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(decoded);
    if (converted == nullptr) return nullptr;

    auto* bitmap = new Bitmap;
    bitmap->width = converted->w;
    bitmap->height = converted->h;
    bitmap->pixels.resize(static_cast<size_t>(converted->w) * static_cast<size_t>(converted->h));
    SDL_LockSurface(converted);
    for (int row = 0; row < converted->h; ++row) {
        std::memcpy(&bitmap->pixels[static_cast<size_t>(row) * converted->w],
                    static_cast<const uint8_t*>(converted->pixels) +
                        static_cast<size_t>(row) * static_cast<size_t>(converted->pitch),
                    static_cast<size_t>(converted->w) * sizeof(uint16_t));
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    return bitmap;
}

}  // namespace platform
