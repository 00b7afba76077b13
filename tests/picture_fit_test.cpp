// Where the picture lands in a window or screen of any size, and how large a
// window opens: the rule every desktop back end draws by.

#include "platform/picture_fit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

namespace {

using platform::fitPicture;
using platform::pictureAt;
using platform::PictureFit;
using platform::PicturePoint;
using platform::windowScale;

void expectFit(const PictureFit& fit, int x, int y, int width, int height, bool wholeScale) {
    EXPECT_EQ(fit.x, x);
    EXPECT_EQ(fit.y, y);
    EXPECT_EQ(fit.width, width);
    EXPECT_EQ(fit.height, height);
    EXPECT_EQ(fit.wholeScale, wholeScale);
}

TEST(PictureFit, FullHdGetsFullHeightWithBarsLeftAndRight) {
    expectFit(fitPicture(1920, 1080), 240, 0, 1440, 1080, false);
}

TEST(PictureFit, FullHdWithWholeMultiplesIsTwiceTheSizeCentred) {
    expectFit(fitPicture(1920, 1080, true), 320, 60, 1280, 960, true);
}

TEST(PictureFit, AnExactFourThreeScreenIsFilledWithoutBars) {
    expectFit(fitPicture(1024, 768), 0, 0, 1024, 768, false);
    expectFit(fitPicture(1280, 960), 0, 0, 1280, 960, true);
    expectFit(fitPicture(640, 480), 0, 0, 640, 480, true);
}

TEST(PictureFit, WholeMultiplesOnAnUnevenScreenLeaveBarsAllRound) {
    expectFit(fitPicture(1024, 768, true), 192, 144, 640, 480, true);
    expectFit(fitPicture(2560, 1440, true), 320, 0, 1920, 1440, true);
}

TEST(PictureFit, ATallScreenGetsFullWidthWithBarsAboveAndBelow) {
    expectFit(fitPicture(1280, 1024), 0, 32, 1280, 960, true);
    expectFit(fitPicture(1300, 2000, true), 10, 520, 1280, 960, true);
}

TEST(PictureFit, OddSizesRoundToTheNearestPixelAndStayCentred) {
    expectFit(fitPicture(1001, 333), 278, 0, 444, 333, false);
    expectFit(fitPicture(333, 1001), 0, 375, 333, 250, false);
}

TEST(PictureFit, TooSmallForOneWholeMultipleThePictureShrinks) {
    expectFit(fitPicture(320, 480, true), 0, 120, 320, 240, false);
    expectFit(fitPicture(320, 240, true), 0, 0, 320, 240, false);
}

TEST(PictureFit, AnOutputWithNoPixelsGetsThePictureAtItsOwnSize) {
    expectFit(fitPicture(0, 0), 0, 0, 640, 480, true);
    expectFit(fitPicture(-5, 768, true), 0, 0, 640, 480, true);
}

TEST(PictureFit, EverySizeKeepsFourThreeInsideTheOutput) {
    int wrong = 0;
    for (int w = 1; w <= 2000; w += 7) {
        for (int h = 1; h <= 1500; h += 11) {
            for (const bool whole : {false, true}) {
                const PictureFit fit = fitPicture(w, h, whole);
                const bool inside =
                    fit.x >= 0 && fit.y >= 0 && fit.x + fit.width <= w && fit.y + fit.height <= h;
                const bool centred = std::abs(2 * fit.x + fit.width - w) <= 1 &&
                                     std::abs(2 * fit.y + fit.height - h) <= 1;
                // Rounded to the nearest pixel on one side only.
                const bool fourThree = std::abs(fit.width * 3 - fit.height * 4) <= 4;
                const bool touches = fit.width == w || fit.height == h;
                wrong += !inside || !centred || !fourThree || (!whole && !touches);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// The picture pixel under the middle of an output pixel, or {-1, -1} on a bar.
PicturePoint under(const PictureFit& fit, int x, int y) {
    PicturePoint point;
    if (!pictureAt(fit, x + 0.5, y + 0.5, point)) return {-1, -1};
    return point;
}

void expectPoint(PicturePoint point, int x, int y) {
    EXPECT_EQ(point.x, x);
    EXPECT_EQ(point.y, y);
}

TEST(PictureAt, TheCornersOfAScaledPictureAreItsFirstAndLastPixels) {
    const PictureFit wide = fitPicture(1920, 1080);  // 1440 x 1080 from x 240
    expectPoint(under(wide, 240, 0), 0, 0);
    expectPoint(under(wide, 1679, 1079), 639, 479);
    const PictureFit whole = fitPicture(1920, 1080, true);  // 1280 x 960 at (320, 60)
    expectPoint(under(whole, 320, 60), 0, 0);
    expectPoint(under(whole, 321, 61), 0, 0);
    expectPoint(under(whole, 322, 62), 1, 1);
    expectPoint(under(whole, 1599, 1019), 639, 479);
}

TEST(PictureAt, ThePixelsJustBesideThePictureAreOnTheBars) {
    // Truncating toward zero would put the last bar pixel on column 0.
    const PictureFit whole = fitPicture(1920, 1080, true);
    expectPoint(under(whole, 319, 500), -1, -1);
    expectPoint(under(whole, 1600, 500), -1, -1);
    expectPoint(under(whole, 900, 59), -1, -1);
    expectPoint(under(whole, 900, 1020), -1, -1);
    const PictureFit tall = fitPicture(1280, 1024);  // bars of 32 above and below
    expectPoint(under(tall, 0, 31), -1, -1);
    expectPoint(under(tall, 0, 32), 0, 0);
    expectPoint(under(tall, 1279, 991), 639, 479);
    expectPoint(under(tall, 1279, 992), -1, -1);
    PicturePoint point;
    EXPECT_FALSE(pictureAt(whole, 319.99, 500, point));
    EXPECT_FALSE(pictureAt(whole, -3, -3, point));
}

TEST(PictureAt, EveryPixelOfAWholeEnlargementLeadsBackToItsPicturePixel) {
    for (const int scale : {1, 2, 3}) {
        const PictureFit fit = fitPicture(640 * scale + 100, 480 * scale + 60, true);
        int wrong = 0;
        for (int y = 0; y < 480 * scale; ++y) {
            for (int x = 0; x < 640 * scale; ++x) {
                const PicturePoint point = under(fit, fit.x + x, fit.y + y);
                wrong += point.x != x / scale || point.y != y / scale;
            }
        }
        EXPECT_EQ(wrong, 0) << "scale " << scale;
    }
}

TEST(PictureAt, AnyFitCoversThePictureInOrderAndNothingBeside) {
    // Across the middle row: every output pixel inside the fit lands on the
    // picture, never going back, from the first column to the last; none
    // beside it does. The same down the middle column.
    for (const auto& [w, h] : {std::pair{1001, 333}, {333, 1001}, {800, 600}, {1366, 768}}) {
        const PictureFit fit = fitPicture(w, h);
        int stray = 0;
        int last = -1;
        for (int x = 0; x < w; ++x) {
            const int column = under(fit, x, h / 2).x;
            const bool inside = x >= fit.x && x < fit.x + fit.width;
            stray += inside != (column >= 0) || (inside && column < last);
            if (inside) last = column;
        }
        EXPECT_EQ(under(fit, fit.x, h / 2).x, 0) << w << "x" << h;
        EXPECT_EQ(last, 639) << w << "x" << h;
        last = -1;
        for (int y = 0; y < h; ++y) {
            const int row = under(fit, w / 2, y).y;
            const bool inside = y >= fit.y && y < fit.y + fit.height;
            stray += inside != (row >= 0) || (inside && row < last);
            if (inside) last = row;
        }
        EXPECT_EQ(last, 479) << w << "x" << h;
        EXPECT_EQ(stray, 0) << w << "x" << h;
    }
}

TEST(WindowScale, IsTheLargestThatFitsTheDesktop) {
    EXPECT_EQ(windowScale(0, 1920, 1040), 2);
    EXPECT_EQ(windowScale(0, 1920, 1440), 3);
    EXPECT_EQ(windowScale(0, 3840, 2160), 4);
    EXPECT_EQ(windowScale(0, 1279, 1024), 1);
}

TEST(WindowScale, IsNeverLessThanOne) {
    EXPECT_EQ(windowScale(0, 600, 400), 1);
    EXPECT_EQ(windowScale(0, 0, 0), 1);
}

TEST(WindowScale, TheOneAskedForStandsWhateverTheDesktop) {
    EXPECT_EQ(windowScale(3, 600, 400), 3);
    EXPECT_EQ(windowScale(1, 3840, 2160), 1);
}

}  // namespace
