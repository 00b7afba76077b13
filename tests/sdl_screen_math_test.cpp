// The SDL back end's picture arithmetic: RGB565 widening, the 4:3 letterbox,
// and the 60 Hz beat.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/sdl/screen_math.h"

namespace {

using platform::sdl::convertRgb565ToAbgr8888;
using platform::sdl::convertRgb565ToArgb8888;
using platform::sdl::letterbox;

uint32_t expand5(uint32_t c) {
    return (c << 3) | (c >> 2);
}
uint32_t expand6(uint32_t c) {
    return (c << 2) | (c >> 4);
}

uint32_t expectedArgb(uint16_t p) {
    return 0xFF000000u | expand5(p >> 11u) << 16 | expand6((p >> 5u) & 0x3Fu) << 8 |
           expand5(p & 0x1Fu);
}

uint32_t argbToAbgr(uint32_t argb) {
    return (argb & 0xFF00FF00u) | ((argb >> 16) & 0xFFu) | ((argb & 0xFFu) << 16);
}

uint32_t convertOne(uint16_t p) {
    uint32_t out = 0;
    convertRgb565ToArgb8888(&p, &out, 1);
    return out;
}

TEST(SdlPixelConvert, PureColoursComeOutFullStrength) {
    EXPECT_EQ(convertOne(0x0000), 0xFF000000u);
    EXPECT_EQ(convertOne(0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(convertOne(0xF800), 0xFFFF0000u);
    EXPECT_EQ(convertOne(0x07E0), 0xFF00FF00u);
    EXPECT_EQ(convertOne(0x001F), 0xFF0000FFu);
    // The game's colour key, magenta, must stay exact magenta.
    EXPECT_EQ(convertOne(0xF81F), 0xFFFF00FFu);
}

TEST(SdlPixelConvert, EveryValueReplicatesItsTopBits) {
    std::vector<uint16_t> all(65536);
    for (uint32_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint16_t>(i);
    std::vector<uint32_t> argb(all.size(), 0x12345678u);
    std::vector<uint32_t> abgr(all.size(), 0x12345678u);
    convertRgb565ToArgb8888(all.data(), argb.data(), all.size());
    convertRgb565ToAbgr8888(all.data(), abgr.data(), all.size());
    int wrong = 0;
    for (uint32_t i = 0; i < all.size(); ++i) {
        const uint32_t want = expectedArgb(all[i]);
        wrong += argb[i] != want;
        wrong += abgr[i] != argbToAbgr(want);
    }
    EXPECT_EQ(wrong, 0);
}

TEST(SdlPixelConvert, OddLengthsAndOffsetsTouchOnlyTheirPixels) {
    // Lengths around the converter's block size, starting off alignment.
    for (size_t count : {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{17}, size_t{33}}) {
        std::vector<uint16_t> src(count + 1);
        for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint16_t>(i * 2654435761u);
        std::vector<uint32_t> dst(count + 3, 0xDEADBEEFu);
        convertRgb565ToArgb8888(src.data() + 1, dst.data() + 1, count);
        EXPECT_EQ(dst.front(), 0xDEADBEEFu) << count;
        EXPECT_EQ(dst[count + 1], 0xDEADBEEFu) << count;
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(dst[i + 1], expectedArgb(src[i + 1])) << count << " at " << i;
        }
    }
}

void expectRect(const SDL_Rect& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

TEST(SdlLetterbox, NativeSizeFillsTheWindowPixelForPixel) {
    const auto box = letterbox(640, 480);
    expectRect(box.rect, 0, 0, 640, 480);
    EXPECT_TRUE(box.wholeScale);
}

TEST(SdlLetterbox, FiveByFourDoublesWithBarsAboveAndBelow) {
    const auto box = letterbox(1280, 1024);
    expectRect(box.rect, 0, 32, 1280, 960);
    EXPECT_TRUE(box.wholeScale);
}

TEST(SdlLetterbox, WideScreenKeepsFourByThreeWithBarsAtTheSides) {
    const auto box = letterbox(1920, 1080);
    expectRect(box.rect, 240, 0, 1440, 1080);
    EXPECT_FALSE(box.wholeScale);
}

TEST(SdlLetterbox, LargerFourByThreeFillsButIsNotAWholeScale) {
    const auto box = letterbox(800, 600);
    expectRect(box.rect, 0, 0, 800, 600);
    EXPECT_FALSE(box.wholeScale);
}

TEST(SdlLetterbox, TripleSizeOnAWideDisplayIsWhole) {
    const auto box = letterbox(2560, 1440);
    expectRect(box.rect, 320, 0, 1920, 1440);
    EXPECT_TRUE(box.wholeScale);
}

TEST(SdlLetterbox, PictureAlwaysStaysInsideAndCentred) {
    for (int w = 100; w <= 4000; w += 37) {
        for (int h = 100; h <= 3000; h += 41) {
            const SDL_Rect r = letterbox(w, h).rect;
            ASSERT_GE(r.x, 0);
            ASSERT_GE(r.y, 0);
            ASSERT_LE(r.x + r.w, w);
            ASSERT_LE(r.y + r.h, h);
            ASSERT_TRUE(r.w == w || r.h == h) << w << "x" << h;
            ASSERT_LE(std::abs(r.w * 3 - r.h * 4), 4) << w << "x" << h;
            ASSERT_LE(std::abs((w - r.w) - 2 * r.x), 1);
            ASSERT_LE(std::abs((h - r.h) - 2 * r.y), 1);
        }
    }
}

}  // namespace
