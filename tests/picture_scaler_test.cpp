// The picture scaler the framebuffer and Windows back ends enlarge the game's
// picture with: whole-number sizes are exact pixel repeats, as the
// accelerated renderer's nearest filter shows them; every source pixel keeps
// its share of the columns; a still picture draws nothing again, and a
// changed row redraws exactly the target rows it shows in. How close other
// sizes stay to SDL's linear smoothing is sdl_picture_scaler_test.cpp's.

#include "platform/picture_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/pixel_widening.h"

namespace {

using platform::PictureScaler;
using platform::PixelOrder;

constexpr int width = 640;
constexpr int height = 480;

std::vector<uint16_t> noise(uint32_t seed) {
    std::vector<uint16_t> picture(static_cast<size_t>(width) * height);
    for (uint16_t& pixel : picture) {
        seed = seed * 1103515245u + 12345u;
        pixel = static_cast<uint16_t>(seed >> 16);
    }
    return picture;
}

std::vector<uint32_t> widened(const std::vector<uint16_t>& picture, PixelOrder order) {
    std::vector<uint32_t> wide(picture.size());
    if (order == PixelOrder::Argb) {
        platform::convertRgb565ToArgb8888(picture.data(), wide.data(), picture.size());
    } else {
        platform::convertRgb565ToAbgr8888(picture.data(), wide.data(), picture.size());
    }
    return wide;
}

std::vector<uint32_t> scaled(const std::vector<uint16_t>& picture, int w, int h,
                             PixelOrder order = PixelOrder::Argb) {
    std::vector<uint32_t> target(static_cast<size_t>(w) * h, 0);
    PictureScaler scaler;
    scaler.scale(picture.data(), width, height, target.data(), w * 4, w, h, order);
    return target;
}

TEST(PictureScalerTest, WholeSizesRepeatEveryPixelExactly) {
    const std::vector<uint16_t> picture = noise(7);
    for (const PixelOrder order : {PixelOrder::Argb, PixelOrder::Abgr}) {
        const std::vector<uint32_t> wide = widened(picture, order);
        for (const int times : {1, 2, 3, 4}) {
            const int w = width * times;
            const int h = height * times;
            const std::vector<uint32_t> target = scaled(picture, w, h, order);
            int wrong = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    wrong += target[static_cast<size_t>(y) * w + x] !=
                             wide[static_cast<size_t>(y / times) * width + x / times];
                }
            }
            EXPECT_EQ(wrong, 0) << times << " times";
        }
    }
}

TEST(PictureScalerTest, EveryColumnIsACopyOrABlendOfNeighbours) {
    for (const int size : {480, 600, 900, 1000, 1080, 1200, 1440, 1600, 2560}) {
        const platform::ScaleTaps taps = platform::sharpLinearTaps(width, size);
        ASSERT_EQ(taps.first.size(), static_cast<size_t>(size));
        int previous = 0;
        for (int x = 0; x < size; ++x) {
            const int first = taps.first[x];
            ASSERT_GE(first, previous) << "column " << x << " of " << size;
            ASSERT_LT(first + (taps.quarters[x] != 0 ? 1 : 0), width) << size;
            ASSERT_LE(taps.quarters[x], 3);
            previous = first;
        }
        EXPECT_EQ(taps.first.front(), 0);
        EXPECT_EQ(taps.first.back() + (taps.quarters.back() != 0), width - 1) << size;
    }
}

TEST(PictureScalerTest, AtTwoAndAQuarterTimesEveryPixelKeepsItsShare) {
    // Four pixels become nine: each keeps whole copies and shares the
    // columns at its edges, so every pixel covers 2.25 columns in all.
    const platform::ScaleTaps taps = platform::sharpLinearTaps(width, 1440);
    std::vector<int> quarters(width, 0);
    int blends = 0;
    for (int x = 0; x < 1440; ++x) {
        const int next = taps.quarters[x];
        quarters[taps.first[x]] += 4 - next;
        if (next != 0) {
            quarters[taps.first[x] + 1] += next;
            ++blends;
        }
    }
    EXPECT_EQ(*std::min_element(quarters.begin(), quarters.end()), 9);
    EXPECT_EQ(*std::max_element(quarters.begin(), quarters.end()), 9);
    // Three edges in four fall inside a column; the fourth nearly on a border.
    EXPECT_EQ(blends, 1440 / 3);
}

TEST(PictureScalerTest, AStillPictureDrawsNothingAgain) {
    const std::vector<uint16_t> picture = noise(3);
    std::vector<uint32_t> target(1440u * 1080u, 0);
    PictureScaler scaler;
    scaler.scale(picture.data(), width, height, target.data(), 1440 * 4, 1440, 1080,
                 PixelOrder::Argb);
    ASSERT_EQ(scaler.drawnRows().size(), 1u);
    EXPECT_EQ(scaler.drawnRows()[0].top, 0);
    EXPECT_EQ(scaler.drawnRows()[0].bottom, 1080);

    std::fill(target.begin(), target.end(), 0x12345678u);
    scaler.scale(picture.data(), width, height, target.data(), 1440 * 4, 1440, 1080,
                 PixelOrder::Argb);
    EXPECT_TRUE(scaler.drawnRows().empty());
    EXPECT_EQ(std::count(target.begin(), target.end(), 0x12345678u), 1440 * 1080);

    scaler.redrawAll();
    scaler.scale(picture.data(), width, height, target.data(), 1440 * 4, 1440, 1080,
                 PixelOrder::Argb);
    EXPECT_EQ(target, scaled(picture, 1440, 1080));
}

TEST(PictureScalerTest, AChangedRowRedrawsTheRowsItShowsIn) {
    std::vector<uint16_t> picture = noise(5);
    std::vector<uint32_t> target(1440u * 1080u, 0);
    PictureScaler scaler;
    scaler.scale(picture.data(), width, height, target.data(), 1440 * 4, 1440, 1080,
                 PixelOrder::Argb);
    // Row 100 shows in target rows 225 to 227 and blends into the rows on
    // either side of them.
    std::fill_n(picture.begin() + 100 * width, width, uint16_t{0xFFFF});
    scaler.scale(picture.data(), width, height, target.data(), 1440 * 4, 1440, 1080,
                 PixelOrder::Argb);
    ASSERT_EQ(scaler.drawnRows().size(), 1u);
    const platform::RowBand band = scaler.drawnRows()[0];
    EXPECT_LE(band.top, 225);
    EXPECT_GE(band.bottom, 227);
    EXPECT_GE(band.top, 223);
    EXPECT_LE(band.bottom, 229);
    EXPECT_EQ(target, scaled(picture, 1440, 1080));
}

TEST(PictureScalerTest, NothingOutsideThePictureIsWritten) {
    // The picture drawn into the middle of a wider framebuffer, bars around it.
    const int pitch = 1920;
    std::vector<uint32_t> screen(static_cast<size_t>(pitch) * 1080, 0xAAAAAAAAu);
    const std::vector<uint16_t> picture = noise(9);
    PictureScaler scaler;
    scaler.scale(picture.data(), width, height, screen.data() + 240, pitch * 4, 1440, 1080,
                 PixelOrder::Abgr);
    const std::vector<uint32_t> alone = scaled(picture, 1440, 1080, PixelOrder::Abgr);
    int barsTouched = 0;
    int pictureWrong = 0;
    for (int y = 0; y < 1080; ++y) {
        for (int x = 0; x < pitch; ++x) {
            const uint32_t pixel = screen[static_cast<size_t>(y) * pitch + x];
            if (x < 240 || x >= 1680) {
                barsTouched += pixel != 0xAAAAAAAAu;
            } else {
                pictureWrong += pixel != alone[static_cast<size_t>(y) * 1440 + x - 240];
            }
        }
    }
    EXPECT_EQ(barsTouched, 0);
    EXPECT_EQ(pictureWrong, 0);
}

TEST(PictureScalerTest, ANewTargetIsDrawnWhole) {
    const std::vector<uint16_t> picture = noise(11);
    std::vector<uint32_t> first(1280u * 960u, 0);
    std::vector<uint32_t> second(1280u * 960u, 0);
    PictureScaler scaler;
    scaler.scale(picture.data(), width, height, first.data(), 1280 * 4, 1280, 960,
                 PixelOrder::Argb);
    scaler.scale(picture.data(), width, height, second.data(), 1280 * 4, 1280, 960,
                 PixelOrder::Argb);
    EXPECT_EQ(first, second);
}

}  // namespace
