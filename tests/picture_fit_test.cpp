// Where the picture lands in a window or screen of any size, and how large a
// window opens: the rule every desktop back end draws by.

#include "platform/picture_fit.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using platform::fitPicture;
using platform::PictureFit;
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
