// The game's bitmap reader against SDL's, an independent one: the same
// pixels for every picture the game carries and for every uncompressed
// layout; and a refusal of every damaged file.

#include "formats/bmp_decoder.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "platform/platform.h"

namespace {

using Bytes = std::vector<uint8_t>;

void putU16(Bytes& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void putU32(Bytes& out, size_t at, uint32_t value) {
    putU16(out, at, value & 0xFFFF);
    putU16(out, at + 2, value >> 16);
}

struct Layout {
    int width = 5;
    int height = 3;
    int bits = 24;
    bool topDown = false;
    bool coreHeader = false;  // the old 12-byte header
    uint32_t colours = 0;     // entries in the colour table; 0 for all
};

// A bitmap file of that layout with pixel bytes from a fixed-seed generator.
Bytes makeBmp(const Layout& layout, uint32_t seed) {
    std::mt19937 dice(seed);
    const size_t header = layout.coreHeader ? 12 : 40;
    const size_t entry = layout.coreHeader ? 3 : 4;
    const uint32_t tableSize =
        layout.bits <= 8 ? (layout.colours == 0 ? 1u << layout.bits : layout.colours) : 0;
    const size_t pixelStart = 14 + header + tableSize * entry;
    const size_t stride = (static_cast<size_t>(layout.width) * layout.bits + 31) / 32 * 4;
    Bytes out(pixelStart + stride * static_cast<size_t>(layout.height), 0);
    out[0] = 'B';
    out[1] = 'M';
    putU32(out, 2, static_cast<uint32_t>(out.size()));
    putU32(out, 10, static_cast<uint32_t>(pixelStart));
    putU32(out, 14, static_cast<uint32_t>(header));
    if (layout.coreHeader) {
        putU16(out, 18, static_cast<uint32_t>(layout.width));
        putU16(out, 20, static_cast<uint32_t>(layout.height));
        putU16(out, 22, 1);
        putU16(out, 24, static_cast<uint32_t>(layout.bits));
    } else {
        putU32(out, 18, static_cast<uint32_t>(layout.width));
        putU32(out, 22, static_cast<uint32_t>(layout.topDown ? -layout.height : layout.height));
        putU16(out, 26, 1);
        putU16(out, 28, static_cast<uint32_t>(layout.bits));
        putU32(out, 46, layout.colours);
    }
    for (size_t i = 14 + header; i < pixelStart; ++i) {
        // Colour tables keep their fourth byte zero.
        out[i] = (i - 14 - header) % entry == 3 ? 0 : static_cast<uint8_t>(dice());
    }
    const uint32_t indexMask = layout.bits <= 8 ? tableSize - 1 : 0xFF;
    for (size_t i = pixelStart; i < out.size(); ++i) {
        // Indices stay inside the table, where the table is full.
        out[i] = static_cast<uint8_t>(dice());
        if (layout.bits == 8) out[i] = static_cast<uint8_t>(out[i] & indexMask);
    }
    return out;
}

// What SDL's decoder reads from the bytes, converted to the display format by
// truncation; false when it refuses them.
bool sdlReading(const Bytes& bytes, platform::Bitmap& bitmap) {
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* decoded = SDL_LoadBMP_RW(stream, 1);
    if (decoded == nullptr) return false;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(decoded);
    if (converted == nullptr) return false;
    bitmap.width = converted->w;
    bitmap.height = converted->h;
    bitmap.pixels.resize(static_cast<size_t>(converted->w) * static_cast<size_t>(converted->h));
    SDL_LockSurface(converted);
    for (int row = 0; row < converted->h; ++row) {
        std::memcpy(&bitmap.pixels[static_cast<size_t>(row) * static_cast<size_t>(converted->w)],
                    static_cast<const uint8_t*>(converted->pixels) +
                        static_cast<size_t>(row) * static_cast<size_t>(converted->pitch),
                    static_cast<size_t>(converted->w) * sizeof(uint16_t));
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    return true;
}

void expectSameAsSdl(const Bytes& bytes, const char* what) {
    platform::Bitmap expected;
    ASSERT_TRUE(sdlReading(bytes, expected)) << what;
    platform::Bitmap decoded;
    ASSERT_TRUE(formats::decodeBmp(bytes, decoded)) << what;
    EXPECT_EQ(decoded.width, expected.width) << what;
    EXPECT_EQ(decoded.height, expected.height) << what;
    EXPECT_EQ(decoded.pixels, expected.pixels) << what;
}

TEST(BmpDecoder, EveryPictureOfTheGameComesOutAsSdlReadsIt) {
    int pictures = 0;
    for (const platform::Resource& resource : platform::gameModule()->resources) {
        if (resource.type == platform::ResourceType::Wave) continue;
        const Bytes bytes(resource.bytes.begin(), resource.bytes.end());
        expectSameAsSdl(bytes, ("resource " + std::to_string(resource.id)).c_str());
        ++pictures;
    }
    // 50 pictures, the lettering of the settings screen and the icon.
    EXPECT_EQ(pictures, 52);
}

TEST(BmpDecoder, EveryUncompressedLayoutComesOutAsSdlReadsIt) {
    uint32_t seed = 1;
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int width : {1, 3, 5, 8, 13, 33}) {
            for (bool topDown : {false, true}) {
                Layout layout;
                layout.bits = bits;
                layout.width = width;
                layout.height = 4;
                layout.topDown = topDown;
                const std::string what = std::to_string(bits) + " bits, " + std::to_string(width) +
                                         (topDown ? " wide, top-down" : " wide, bottom-up");
                expectSameAsSdl(makeBmp(layout, ++seed), what.c_str());
            }
        }
    }
}

// The window's icon keeps every bit of its colours.
TEST(BmpDecoder, FullColourComesOutAsSdlReadsIt) {
    uint32_t seed = 100;
    for (int bits : {1, 4, 8, 24, 32}) {
        Layout layout;
        layout.bits = bits;
        layout.width = 7;
        const Bytes bytes = makeBmp(layout, ++seed);
        SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
        SDL_Surface* decoded = SDL_LoadBMP_RW(stream, 1);
        ASSERT_NE(decoded, nullptr) << bits;
        SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGB888, 0);
        SDL_FreeSurface(decoded);
        ASSERT_NE(converted, nullptr) << bits;
        formats::TrueColourPicture picture;
        ASSERT_TRUE(formats::decodeBmp(bytes, picture)) << bits;
        ASSERT_EQ(picture.width, converted->w);
        ASSERT_EQ(picture.height, converted->h);
        int wrong = 0;
        for (int y = 0; y < converted->h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(converted->pixels) + y * converted->pitch);
            for (int x = 0; x < converted->w; ++x) {
                const uint32_t expected = row[x] & 0xFFFFFF;
                wrong += picture.pixels[static_cast<size_t>(y * converted->w + x)] != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << bits << " bits";
        SDL_FreeSurface(converted);
    }
}

TEST(BmpDecoder, TheOldShortHeaderComesOutAsSdlReadsIt) {
    for (int bits : {1, 4, 8, 24}) {
        Layout layout;
        layout.bits = bits;
        layout.coreHeader = true;
        expectSameAsSdl(makeBmp(layout, 77), ("old header, " + std::to_string(bits)).c_str());
    }
}

TEST(BmpDecoder, AShortColourTableComesOutAsSdlReadsIt) {
    Layout layout;
    layout.bits = 8;
    layout.colours = 16;
    layout.width = 7;
    expectSameAsSdl(makeBmp(layout, 5), "16 of 256 colours");
}

TEST(BmpDecoder, DamagedFilesAreRefused) {
    const Bytes good = makeBmp(Layout{}, 9);
    std::vector<Bytes> bad;
    bad.push_back(Bytes(good.begin(), good.end() - 1));  // one pixel byte short
    bad.push_back(Bytes(good.begin(), good.begin() + 30));
    bad.push_back(Bytes{});
    Bytes notBm = good;
    notBm[0] = 'X';
    bad.push_back(notBm);
    Bytes huge = good;
    putU32(huge, 18, 100000);
    bad.push_back(huge);
    Bytes noWidth = good;
    putU32(noWidth, 18, 0);
    bad.push_back(noWidth);
    Bytes pixelsPastTheEnd = good;
    putU32(pixelsPastTheEnd, 10, static_cast<uint32_t>(good.size()));
    bad.push_back(pixelsPastTheEnd);
    Bytes pixelsInTheHeaders = good;
    putU32(pixelsInTheHeaders, 10, 53);
    bad.push_back(pixelsInTheHeaders);
    for (size_t i = 0; i < bad.size(); ++i) {
        platform::Bitmap decoded;
        EXPECT_FALSE(formats::decodeBmp(bad[i], decoded)) << "case " << i;
        EXPECT_TRUE(decoded.pixels.empty()) << "case " << i;
    }
}

// The generator writes uncompressed pictures only, and the build takes no
// other from a player; the game does without the rest.
TEST(BmpDecoder, CompressedAndSixteenBitPicturesAreRefused) {
    Bytes runLength = makeBmp(Layout{.bits = 8}, 3);
    putU32(runLength, 30, 1);
    Bytes sixteen = makeBmp(Layout{.bits = 16}, 4);
    platform::Bitmap decoded;
    EXPECT_FALSE(formats::decodeBmp(runLength, decoded));
    EXPECT_FALSE(formats::decodeBmp(sixteen, decoded));
}

}  // namespace
