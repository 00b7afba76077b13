// The bitmap loader, fed with bitmaps made here byte by byte.

#include "gfx/bitmap_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/devices.h"
#include "platform/headless.h"

namespace {

using platform::Surface;

struct Rgb {
    uint8_t r, g, b;
};

void putU16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void putU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    putU16(out, at, value & 0xFFFF);
    putU16(out, at + 2, value >> 16);
}

// An uncompressed 24-bit bitmap file stored bottom-up, as the game's are.
std::vector<uint8_t> bmp24(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t pixelBytes = stride * static_cast<size_t>(height);
    std::vector<uint8_t> out(54 + pixelBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    putU32(out, 2, static_cast<uint32_t>(out.size()));
    putU32(out, 10, 54);
    putU32(out, 14, 40);
    putU32(out, 18, static_cast<uint32_t>(width));
    putU32(out, 22, static_cast<uint32_t>(height));
    putU16(out, 26, 1);
    putU16(out, 28, 24);
    putU32(out, 34, static_cast<uint32_t>(pixelBytes));
    for (int y = 0; y < height; ++y) {
        // The last picture row comes first in the file.
        uint8_t* row = &out[54 + stride * static_cast<size_t>(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            row[x * 3] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
    }
    return out;
}

// An uncompressed 8-bit bitmap whose every pixel is colour `index` of `palette`.
std::vector<uint8_t> bmp8(int width, int height, const std::vector<Rgb>& palette, uint8_t index) {
    const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
    const size_t table = palette.size() * 4;
    const size_t pixelStart = 54 + table;
    std::vector<uint8_t> out(pixelStart + stride * static_cast<size_t>(height), index);
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(pixelStart), 0);
    out[0] = 'B';
    out[1] = 'M';
    putU32(out, 2, static_cast<uint32_t>(out.size()));
    putU32(out, 10, static_cast<uint32_t>(pixelStart));
    putU32(out, 14, 40);
    putU32(out, 18, static_cast<uint32_t>(width));
    putU32(out, 22, static_cast<uint32_t>(height));
    putU16(out, 26, 1);
    putU16(out, 28, 8);
    putU32(out, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i) {
        out[54 + i * 4] = palette[i].b;
        out[54 + i * 4 + 1] = palette[i].g;
        out[54 + i * 4 + 2] = palette[i].r;
    }
    return out;
}

uint16_t at(const Surface* surface, int x, int y) {
    return surface->pixels[static_cast<size_t>(y) * static_cast<size_t>(surface->width) +
                           static_cast<size_t>(x)];
}

int countCalls(const std::string& name) {
    const auto& record = platform::headless::calls();
    return static_cast<int>(std::count_if(record.begin(), record.end(),
                                          [&](const auto& call) { return call.name == name; }));
}

class BitmapLoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        directDraw = platform::createDisplay();
        ASSERT_NE(directDraw, nullptr);
        appInstance = &module;
    }
    void TearDown() override {
        for (Surface* surface : loaded) platform::release(surface);
        platform::release(directDraw);
        directDraw = nullptr;
        appInstance = nullptr;
    }

    // The bytes stay alive in `files` for as long as the module points at them.
    void add(int id, std::vector<uint8_t> bytes) {
        files.push_back(std::make_unique<std::vector<uint8_t>>(std::move(bytes)));
        module.resources.push_back(
            platform::Resource{platform::ResourceType::Bitmap, id, *files.back()});
    }
    Surface* load(int id) {
        Surface* surface = loadBitmapSurface(id);
        if (surface != nullptr) loaded.push_back(surface);
        return surface;
    }

    platform::Module module;
    std::vector<std::unique_ptr<std::vector<uint8_t>>> files;
    std::vector<Surface*> loaded;
};

// ------------------------------------------------------------ pictures

TEST_F(BitmapLoaderTest, ABottomUpBitmapComesOutUpright) {
    // Red top row, blue bottom row, white between.
    add(200, bmp24(3, 4, [](int, int y) {
            if (y == 0) return Rgb{255, 0, 0};
            if (y == 3) return Rgb{0, 0, 255};
            return Rgb{255, 255, 255};
        }));
    Surface* surface = load(200);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width, 3);
    EXPECT_EQ(surface->height, 4);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(at(surface, x, 0), 0xF800) << x;
        EXPECT_EQ(at(surface, x, 1), 0xFFFF) << x;
        EXPECT_EQ(at(surface, x, 3), 0x001F) << x;
    }
}

TEST_F(BitmapLoaderTest, ColumnsKeepTheirOrderAndRowPaddingIsSkipped) {
    // Width 5 gives 15 bytes a row, padded to 16 in the file.
    add(201, bmp24(5, 2, [](int x, int y) {
            return Rgb{static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 4), 0};
        }));
    Surface* surface = load(201);
    ASSERT_NE(surface, nullptr);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(at(surface, x, y), (x << 11) | (y << 5)) << x << "," << y;
        }
    }
}

TEST_F(BitmapLoaderTest, PureGreenBecomesExactlyTheKeyValue) {
    add(202, bmp24(2, 1, [](int x, int) { return x == 0 ? Rgb{0, 255, 0} : Rgb{0, 0, 0}; }));
    Surface* surface = load(202);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(at(surface, 0, 0), platform::displayFormat.greenMask);
    EXPECT_EQ(at(surface, 0, 0), 0x07E0);
    EXPECT_EQ(at(surface, 1, 0), 0x0000);
}

TEST_F(BitmapLoaderTest, NearGreenThatTheSixteenBitFormatMergesWithGreenBecomesTheKeyToo) {
    const Rgb colours[] = {{7, 252, 7}, {0, 253, 3}, {8, 255, 0}, {0, 251, 0}, {0, 255, 8}};
    add(203, bmp24(5, 1, [&](int x, int) { return colours[x]; }));
    Surface* surface = load(203);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(at(surface, 0, 0), 0x07E0);
    EXPECT_EQ(at(surface, 1, 0), 0x07E0);
    EXPECT_NE(at(surface, 2, 0), 0x07E0) << "a little red is no longer green";
    EXPECT_NE(at(surface, 3, 0), 0x07E0) << "a little less green is no longer green";
    EXPECT_NE(at(surface, 4, 0), 0x07E0) << "a little blue is no longer green";
}

TEST_F(BitmapLoaderTest, TheLoaderSetsNoColourKey) {
    add(204, bmp24(1, 1, [](int, int) { return Rgb{0, 255, 0}; }));
    Surface* surface = load(204);
    ASSERT_NE(surface, nullptr);
    EXPECT_FALSE(surface->keyed);
}

TEST_F(BitmapLoaderTest, TwoLoadsOfOneBitmapGiveIndependentSurfaces) {
    add(205, bmp24(4, 4, [](int x, int y) {
            return Rgb{static_cast<uint8_t>(x * 60), static_cast<uint8_t>(y * 60), 90};
        }));
    Surface* first = load(205);
    Surface* second = load(205);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->pixels, second->pixels);
    first->pixels.assign(first->pixels.size(), 0);
    EXPECT_NE(first->pixels, second->pixels);
}

TEST_F(BitmapLoaderTest, OnlyTheLowSixteenBitsOfTheIdCount) {
    add(206, bmp24(2, 2, [](int, int) { return Rgb{255, 255, 0}; }));
    Surface* surface = load(0x10000 + 206);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(at(surface, 1, 1), 0xFFE0);
}

// ------------------------------------------------------------ failures

TEST_F(BitmapLoaderTest, AMissingBitmapGivesNullAndCreatesNoSurface) {
    add(207, bmp24(2, 2, [](int, int) { return Rgb{1, 2, 3}; }));
    EXPECT_EQ(load(208), nullptr);
    EXPECT_EQ(countCalls("createSurface"), 0);
}

TEST_F(BitmapLoaderTest, AWaveOfTheSameIdIsNoBitmap) {
    files.push_back(std::make_unique<std::vector<uint8_t>>(bmp24(2, 2, [](int, int) {
        return Rgb{1, 2, 3};
    })));
    module.resources.push_back(
        platform::Resource{platform::ResourceType::Wave, 209, *files.back()});
    EXPECT_EQ(load(209), nullptr);
}

TEST_F(BitmapLoaderTest, ATruncatedBitmapGivesNull) {
    std::vector<uint8_t> whole = bmp24(16, 16, [](int, int) { return Rgb{9, 9, 9}; });
    add(210, std::vector<uint8_t>(whole.begin(), whole.begin() + 54 + 16 * 3 * 8));
    add(211, std::vector<uint8_t>(whole.begin(), whole.begin() + 30));
    add(212, std::vector<uint8_t>(whole.begin(), whole.begin() + 2));
    add(213, std::vector<uint8_t>{});
    EXPECT_EQ(load(210), nullptr) << "pixel rows missing";
    EXPECT_EQ(load(211), nullptr) << "header cut short";
    EXPECT_EQ(load(212), nullptr) << "only the signature";
    EXPECT_EQ(load(213), nullptr) << "no bytes at all";
    EXPECT_EQ(countCalls("createSurface"), 0);
}

TEST_F(BitmapLoaderTest, AMalformedHeaderGivesNull) {
    const auto plain = [](int, int) { return Rgb{50, 60, 70}; };
    std::vector<uint8_t> badSignature = bmp24(4, 4, plain);
    badSignature[0] = 'X';
    std::vector<uint8_t> badDepth = bmp24(4, 4, plain);
    putU16(badDepth, 28, 13);
    std::vector<uint8_t> pixelsPastTheEnd = bmp24(4, 4, plain);
    putU32(pixelsPastTheEnd, 10, 100000);
    std::vector<uint8_t> badHeaderSize = bmp24(4, 4, plain);
    putU32(badHeaderSize, 14, 7);
    add(214, badSignature);
    add(215, badDepth);
    add(216, pixelsPastTheEnd);
    add(217, badHeaderSize);
    EXPECT_EQ(load(214), nullptr);
    EXPECT_EQ(load(215), nullptr);
    EXPECT_EQ(load(216), nullptr);
    EXPECT_EQ(load(217), nullptr);
    EXPECT_EQ(countCalls("createSurface"), 0);
}

// Pixels said to start inside the headers would show the header bytes as a
// picture shifted along its rows; 0 says nothing about where they start.
TEST_F(BitmapLoaderTest, APixelOffsetInsideTheHeadersGivesNull) {
    int id = 230;
    for (uint32_t offset : {0u, 20u, 53u}) {
        std::vector<uint8_t> file = bmp24(4, 4, [](int, int) { return Rgb{10, 20, 30}; });
        putU32(file, 10, offset);
        add(id, file);
        EXPECT_EQ(load(id), nullptr) << offset;
        ++id;
    }
    std::vector<uint8_t> inTable = bmp8(3, 2, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}}, 1);
    putU32(inTable, 10, 54 + 4);  // inside the three-colour table
    add(id, inTable);
    EXPECT_EQ(load(id), nullptr) << "inside the colour table";
    EXPECT_EQ(countCalls("createSurface"), 0);
}

TEST_F(BitmapLoaderTest, APixelOffsetPastTheHeadersIsWherePixelsStart) {
    // Blue pixels, with four white bytes between the headers and the pixels.
    std::vector<uint8_t> file = bmp24(2, 2, [](int, int) { return Rgb{0, 0, 255}; });
    file.insert(file.begin() + 54, {0xFF, 0xFF, 0xFF, 0xFF});
    putU32(file, 10, 58);
    add(240, file);
    Surface* surface = load(240);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(at(surface, 0, 0), 0x001F);
    EXPECT_EQ(at(surface, 1, 1), 0x001F);
}

TEST_F(BitmapLoaderTest, ARefusedSurfaceGivesNullAndFreesTheBitmap) {
    add(218, bmp24(8, 8, [](int, int) { return Rgb{0, 0, 0}; }));
    platform::headless::failCall("createSurface");
    EXPECT_EQ(load(218), nullptr);
    EXPECT_EQ(countCalls("createSurface"), 1);
    EXPECT_NE(load(218), nullptr) << "the next load works again";
}

TEST_F(BitmapLoaderTest, APictureTooLargeForASurfaceGivesNull) {
    add(219, bmp24(8193, 1, [](int, int) { return Rgb{0, 0, 0}; }));
    EXPECT_EQ(load(219), nullptr);
    EXPECT_EQ(countCalls("createSurface"), 0) << "refused before decoding";
}

TEST_F(BitmapLoaderTest, AHeaderPromisingAHugePictureIsRefusedBeforeDecoding) {
    // A few bytes that claim millions of columns must not make the decoder
    // set gigabytes aside.
    std::vector<uint8_t> huge = bmp24(4, 4, [](int, int) { return Rgb{1, 2, 3}; });
    putU32(huge, 18, 16711680);
    add(221, huge);
    std::vector<uint8_t> tall = bmp24(4, 4, [](int, int) { return Rgb{1, 2, 3}; });
    putU32(tall, 22, static_cast<uint32_t>(-2000000));
    add(222, tall);
    EXPECT_EQ(load(221), nullptr);
    EXPECT_EQ(load(222), nullptr);
    EXPECT_EQ(countCalls("createSurface"), 0);
}

TEST_F(BitmapLoaderTest, AColourTableBitmapLoadsThroughItsTable) {
    add(223, bmp8(3, 2, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}}, 2));
    Surface* surface = load(223);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(at(surface, 0, 0), 0x07E0);
    EXPECT_EQ(at(surface, 2, 1), 0x07E0);
}

TEST_F(BitmapLoaderTest, AHeaderPromisingMorePixelsThanTheFileHoldsIsRefused) {
    std::vector<uint8_t> big = bmp24(4, 4, [](int, int) { return Rgb{1, 2, 3}; });
    putU32(big, 18, 8192);
    putU32(big, 22, 8192);
    add(226, big);
    EXPECT_EQ(load(226), nullptr);
}

TEST_F(BitmapLoaderTest, ABitmapThatCannotBeLoadedGivesNull) {
    add(220, bmp24(2, 2, [](int, int) { return Rgb{0, 0, 0}; }));
    platform::headless::failCall("loadBitmap");
    EXPECT_EQ(load(220), nullptr);
    EXPECT_EQ(countCalls("createSurface"), 0);
}

TEST_F(BitmapLoaderTest, WithoutADisplayThereIsNoSurface) {
    add(221, bmp24(2, 2, [](int, int) { return Rgb{0, 0, 0}; }));
    platform::Display* display = directDraw;
    directDraw = nullptr;
    EXPECT_EQ(load(221), nullptr);
    directDraw = display;
}

}  // namespace
