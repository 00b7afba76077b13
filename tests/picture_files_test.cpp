// The platform's picture writers: a PNG that another decoder (Python's zlib)
// reads back pixel for pixel, and the BMP layout the game's own reader and
// the trace tool's frames rest on.

#include "formats/picture_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/bmp_decoder.h"
#include "platform/platform.h"
#include "tests/process_support.h"

namespace {

namespace fs = std::filesystem;

struct Decoded {
    std::string size;  // "WIDTH HEIGHT CHANNELS"
    std::vector<uint8_t> samples;
    std::string errors;
};

// The picture as tests/decode_png.py reads it.
Decoded decodeElsewhere(const std::vector<uint8_t>& png) {
    const fs::path folder =
        fs::temp_directory_path() / ("kordavan-png-test-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "in.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    const ProcessResult run =
        runProcess({"/usr/bin/python3", KORDAVAN_SOURCE_DIR "/tests/decode_png.py",
                    (folder / "in.png").string(), (folder / "out.raw").string()});
    Decoded decoded;
    decoded.errors = run.errors;
    if (run.exitCode == 0) {
        decoded.size = run.output.substr(0, run.output.find('\n'));
        std::ifstream raw(folder / "out.raw", std::ios::binary);
        decoded.samples.assign(std::istreambuf_iterator<char>(raw), {});
    }
    fs::remove_all(folder);
    return decoded;
}

// A frame like the game's: flat sky, a few shapes, and a strip of noise that
// leaves nothing to repeat.
std::vector<uint8_t> gameLikeRgb(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = 16;
            p[1] = static_cast<uint8_t>(40 + y / 8);
            p[2] = 120;
            if (x > 100 && x < 180 && y > 50 && y < 90) p[0] = 255;
            if (y > height - 20) {
                noise = noise * 1664525u + 1013904223u;
                p[0] = static_cast<uint8_t>(noise >> 24);
                p[1] = static_cast<uint8_t>(noise >> 16);
                p[2] = static_cast<uint8_t>(noise >> 8);
            }
        }
    }
    return rgb;
}

TEST(PngWriter, AnotherDecoderReadsEveryPixelBack) {
    const std::vector<uint8_t> rgb = gameLikeRgb(640, 480);
    const std::vector<uint8_t> png = formats::encodePng(640, 480, 3, rgb);
    const Decoded decoded = decodeElsewhere(png);
    ASSERT_EQ(decoded.size, "640 480 3") << decoded.errors;
    EXPECT_TRUE(decoded.samples == rgb) << "the pixels differ";
    // A game frame is mostly flat: far smaller than its samples.
    EXPECT_LT(png.size(), rgb.size() / 4);
}

TEST(PngWriter, KeepsTheAlphaChannelOfAnIcon) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 48 * 48; ++i) {
        rgba.insert(rgba.end(), {static_cast<uint8_t>(i), 200, static_cast<uint8_t>(i / 48),
                                 static_cast<uint8_t>(i % 7 == 0 ? 0 : 255)});
    }
    const Decoded decoded = decodeElsewhere(formats::encodePng(48, 48, 4, rgba));
    ASSERT_EQ(decoded.size, "48 48 4") << decoded.errors;
    EXPECT_TRUE(decoded.samples == rgba);
}

TEST(PngWriter, ReadsBackOnePixelAndLongRuns) {
    for (int width : {1, 2, 3, 259, 1000}) {
        std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3 * 70, 7);
        rgb.back() = 9;
        const Decoded decoded = decodeElsewhere(formats::encodePng(width, 70, 3, rgb));
        ASSERT_EQ(decoded.size, std::to_string(width) + " 70 3") << decoded.errors;
        EXPECT_TRUE(decoded.samples == rgb) << "width " << width;
    }
}

// tests/windows/windows_pictures_test.cpp expects the same size and hash of
// the same frame from the Windows build.
TEST(PngWriter, AFlatFrameGivesTheSameBytesOnEveryMachine) {
    platform::Surface frame;
    frame.width = 640;
    frame.height = 480;
    frame.pixels.assign(640 * 480, 0x001F);
    frame.pixels[0] = 0xFFFF;
    const std::vector<uint8_t> png = formats::encodePng(640, 480, 3, formats::surfaceRgb(frame));
    EXPECT_EQ(png.size(), 7569u);
    uint64_t hash = 0xcbf29ce484222325u;
    for (uint8_t byte : png) hash = (hash ^ byte) * 0x100000001b3u;
    EXPECT_EQ(hash, 0x199e310b4bd65a10u);
}

TEST(PngWriter, RefusesSamplesThatDoNotFitTheSize) {
    const std::vector<uint8_t> rgb(10 * 10 * 3 - 1, 0);
    EXPECT_TRUE(formats::encodePng(10, 10, 3, rgb).empty());
    EXPECT_TRUE(formats::encodePng(0, 10, 3, {}).empty());
    EXPECT_TRUE(formats::encodePng(1, 1, 2, std::vector<uint8_t>(2)).empty());
}

TEST(BmpWriter, TheGamesReaderReadsItBack) {
    platform::Surface surface;
    surface.width = 3;
    surface.height = 2;
    surface.pixels = {0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0010, 0x0000};
    const std::vector<uint8_t> rgb = formats::surfaceRgb(surface);
    // Five and six bits widened by repeating their top bits.
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 6),
              (std::vector<uint8_t>{255, 255, 255, 255, 0, 0}));
    EXPECT_EQ(rgb[4 * 3 + 2], 132);

    const std::vector<uint8_t> bmp = formats::encodeBmp(3, 2, rgb);
    // 54 header bytes, rows of 9 bytes padded to 12, bottom row first.
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp[54], 255);           // blue of the bottom-left pixel, 0x001F
    EXPECT_EQ(bmp[54 + 12], 255);      // top-left white
    EXPECT_EQ(bmp[54 + 12 + 5], 255);  // red's red, stored last
    EXPECT_EQ(bmp[54 + 9], 0);         // padding

    formats::TrueColourPicture picture;
    ASSERT_TRUE(formats::decodeBmp(bmp, picture));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(picture.pixels,
              (std::vector<uint32_t>{0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x000084, 0x000000}));
}

TEST(BmpWriter, AShortSurfaceIsBlackWhereItHasNoPixels) {
    platform::Surface surface;
    surface.width = 2;
    surface.height = 2;
    surface.pixels = {0xFFFF};
    const std::vector<uint8_t> rgb = formats::surfaceRgb(surface);
    ASSERT_EQ(rgb.size(), 12u);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[3], 0);
    EXPECT_EQ(rgb[11], 0);
}

}  // namespace
