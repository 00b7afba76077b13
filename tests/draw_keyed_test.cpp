// drawKeyed: the keyed copy and the rectangles that draw nothing.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/devices.h"
#include "gfx/surfaces.h"
#include "platform/headless.h"

namespace {

constexpr uint16_t green = 0x07E0;

class DrawKeyedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        display = platform::createDisplay();
        ASSERT_TRUE(platform::queryDisplayInterface(display));
        primarySurface = platform::createFlipChain(display);
        backBuffer = platform::getBackBuffer(primarySurface);
        ASSERT_NE(backBuffer, nullptr);
        std::fill(backBuffer->pixels.begin(), backBuffer->pixels.end(), uint16_t{0x1234});
        sprite = platform::createSurface(display, 4, 3);
        // Row r, column c holds 0x100 * r + c + 1; one green pixel in the middle row.
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 4; ++c) sprite->pixels[r * 4 + c] = uint16_t(0x100 * r + c + 1);
        }
        sprite->pixels[1 * 4 + 2] = green;
        platform::setColorKey(sprite, platform::getPixelFormat(primarySurface).greenMask);
    }
    void TearDown() override {
        platform::release(sprite);
        platform::release(primarySurface);
        platform::release(display);
        primarySurface = nullptr;
        backBuffer = nullptr;
    }
    uint16_t at(int x, int y) const { return backBuffer->pixels[y * 640 + x]; }
    bool untouched() const {
        return std::all_of(backBuffer->pixels.begin(), backBuffer->pixels.end(),
                           [](uint16_t p) { return p == 0x1234; });
    }

    platform::Display* display = nullptr;
    Surface* sprite = nullptr;
};

TEST_F(DrawKeyedTest, CopiesTheRectangleAndSkipsTheGreenKey) {
    drawKeyed(sprite, Rect{1, 0, 4, 3}, 10, 20);
    EXPECT_EQ(at(10, 20), 0x0002);
    EXPECT_EQ(at(12, 20), 0x0004);
    EXPECT_EQ(at(10, 21), 0x0102);
    EXPECT_EQ(at(11, 21), 0x1234) << "the green pixel lets the old picture show";
    EXPECT_EQ(at(12, 22), 0x0204);
    EXPECT_EQ(at(9, 20), 0x1234);
    EXPECT_EQ(at(13, 20), 0x1234);
}

TEST_F(DrawKeyedTest, TheKeyIsTheDisplaysGreenMask) {
    EXPECT_EQ(platform::getPixelFormat(primarySurface).greenMask, 0x07E0u);
    EXPECT_EQ(sprite->colorKey, green);
}

TEST_F(DrawKeyedTest, EmptyOrInvertedRectanglesDrawNothing) {
    drawKeyed(sprite, Rect{2, 0, 2, 3}, 0, 0);
    drawKeyed(sprite, Rect{0, 1, 4, 1}, 0, 0);
    drawKeyed(sprite, Rect{3, 0, 1, 3}, 0, 0);
    drawKeyed(sprite, Rect{0, 3, 4, 0}, 0, 0);
    EXPECT_TRUE(untouched());
}

TEST_F(DrawKeyedTest, RectanglesReachingOutsideTheSourceDrawNothing) {
    drawKeyed(sprite, Rect{-1, 0, 4, 3}, 0, 0);
    drawKeyed(sprite, Rect{0, 0, 5, 3}, 0, 0);
    drawKeyed(sprite, Rect{0, -1, 4, 3}, 0, 0);
    drawKeyed(sprite, Rect{0, 0, 4, 4}, 0, 0);
    EXPECT_TRUE(untouched());
}

TEST_F(DrawKeyedTest, DestinationsNotWhollyOnScreenDrawNothing) {
    drawKeyed(sprite, Rect{0, 0, 4, 3}, -1, 0);
    drawKeyed(sprite, Rect{0, 0, 4, 3}, 0, -1);
    drawKeyed(sprite, Rect{0, 0, 4, 3}, 637, 0);
    drawKeyed(sprite, Rect{0, 0, 4, 3}, 0, 478);
    drawKeyed(sprite, Rect{0, 0, 4, 3}, 100000, 100000);
    EXPECT_TRUE(untouched());
    drawKeyed(sprite, Rect{0, 0, 4, 3}, 636, 477);
    EXPECT_EQ(at(639, 479), 0x0204) << "a picture touching the corner is drawn";
}

TEST_F(DrawKeyedTest, ANullPictureDrawsNothing) {
    drawKeyed(nullptr, Rect{0, 0, 4, 3}, 0, 0);
    EXPECT_TRUE(untouched());
}

TEST_F(DrawKeyedTest, TheOpeningBoxGrowsFromTheCentreShowingTheTopRows) {
    Surface* picture = platform::createSurface(display, 640, 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) picture->pixels[y * 640 + x] = uint16_t(y + 1);
    }
    drawOpening(picture, 80);
    EXPECT_TRUE(untouched()) << "no height yet at half-width 80";
    drawOpening(picture, 81);
    EXPECT_EQ(at(239, 239), 1);
    EXPECT_EQ(at(400, 240), 2);
    EXPECT_EQ(at(238, 239), 0x1234);
    EXPECT_EQ(at(401, 240), 0x1234);
    EXPECT_EQ(at(300, 241), 0x1234);
    drawOpening(picture, 320);
    EXPECT_EQ(at(0, 0), 1);
    EXPECT_EQ(at(639, 479), 480);
    platform::release(picture);
}

// The copy pixel by pixel, as the keyed copy was first written: what every
// faster copy must draw.
void copyPixelByPixel(std::vector<uint16_t>& target, const Surface& source, const Rect& r, int x,
                      int y) {
    for (int row = r.top; row < r.bottom; ++row) {
        for (int column = r.left; column < r.right; ++column) {
            const uint16_t pixel = source.pixels[row * source.width + column];
            if (!source.keyed || pixel != source.colorKey) {
                target[(y + row - r.top) * 640 + x + column - r.left] = pixel;
            }
        }
    }
}

// Draws random rectangles of `source` with drawKeyed and pixel by pixel side by side.
void expectSameAsPixelByPixel(Surface* backBuffer, Surface* source, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint16_t> expected = backBuffer->pixels;
    for (int i = 0; i < 400; ++i) {
        const int left = int(random() % source->width);
        const int top = int(random() % source->height);
        const Rect r{left, top, left + 1 + int(random() % (source->width - left)),
                     top + 1 + int(random() % (source->height - top))};
        const int x = int(random() % (641 - (r.right - r.left)));
        const int y = int(random() % (481 - (r.bottom - r.top)));
        drawKeyed(source, r, x, y);
        copyPixelByPixel(expected, *source, r, x, y);
        ASSERT_EQ(backBuffer->pixels, expected) << "rectangle " << i << " at " << x << "," << y;
    }
}

TEST_F(DrawKeyedTest, KeyedAndKeylessPicturesDrawWhatThePixelByPixelCopyDraws) {
    // Rows with no green at all, green only at the left or right end, green
    // scattered, and green everywhere, so copies miss and hit the key in turn.
    Surface* keyed = platform::createSurface(display, 300, 200);
    Surface* keyless = platform::createSurface(display, 300, 200);
    std::mt19937 random(7);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            uint16_t pixel = uint16_t(random() % 0xFFFF);
            if (pixel == green) pixel = 1;
            keyless->pixels[y * 300 + x] = pixel;
            const bool key = (y % 5 == 1 && x < 40) || (y % 5 == 2 && x >= 270) ||
                             (y % 5 == 3 && random() % 7 == 0) || y % 5 == 4;
            keyed->pixels[y * 300 + x] = key ? green : pixel;
        }
    }
    platform::setColorKey(keyed, green);
    platform::setColorKey(keyless, green);
    expectSameAsPixelByPixel(backBuffer, keyless, 1);
    expectSameAsPixelByPixel(backBuffer, keyed, 2);

    // Pixels copied in after the key was set are looked at anew.
    platform::Bitmap greenBitmap{300, 200, std::vector<uint16_t>(300 * 200, green)};
    platform::copyBitmap(&greenBitmap, keyless);
    const std::vector<uint16_t> before = backBuffer->pixels;
    drawKeyed(keyless, Rect{0, 0, 300, 200}, 0, 0);
    EXPECT_EQ(backBuffer->pixels, before) << "an all-green picture leaves the frame as it was";
    platform::release(keyed);
    platform::release(keyless);
}

}  // namespace
