// The game's one hit test, at the sizes of the game's own pictures.

#include <gtest/gtest.h>

#include "game/hit_test.h"

namespace {

TEST(RectsOverlapTest, BoxesShrinkToAboutThreeQuarters) {
    EXPECT_EQ(rectsOverlap(0, 0, 32, 32, 24, 0, 32, 32), 0);
    EXPECT_EQ(rectsOverlap(0, 0, 32, 32, 23, 0, 32, 32), 1);
    EXPECT_EQ(rectsOverlap(0, 0, 32, 32, 0, 24, 32, 32), 0);
    EXPECT_EQ(rectsOverlap(0, 0, 32, 32, 0, 23, 32, 32), 1);
    EXPECT_EQ(rectsOverlap(24, 0, 32, 32, 0, 0, 32, 32), 0);
    EXPECT_EQ(rectsOverlap(23, 0, 32, 32, 0, 0, 32, 32), 1);
}

TEST(RectsOverlapTest, EffectiveExtentsOfTheGamesSizes) {
    // Two equal boxes overlap while their distance is below the shrunk size.
    const int sizes[][2] = {{24, 18},   {32, 24},   {60, 46},   {64, 48},  {65, 48},
                            {220, 166}, {230, 174}, {235, 176}, {240, 180}};
    for (const auto& [size, extent] : sizes) {
        EXPECT_EQ(rectsOverlap(0, 0, size, 8, extent - 1, 0, size, 8), 1) << size;
        EXPECT_EQ(rectsOverlap(0, 0, size, 8, extent, 0, size, 8), 0) << size;
        EXPECT_EQ(rectsOverlap(0, 0, 8, size, 0, extent - 1, 8, size), 1) << size;
        EXPECT_EQ(rectsOverlap(0, 0, 8, size, 0, extent, 8, size), 0) << size;
    }
}

TEST(RectsOverlapTest, OrbOneAgainstTheHelicoptersBody) {
    // An orb 173 px right of the body's left edge still touches; 174 px does not.
    EXPECT_EQ(rectsOverlap(240, 370, 230, 60, 240 + 173, 370, 32, 32), 1);
    EXPECT_EQ(rectsOverlap(240, 370, 230, 60, 240 + 174, 370, 32, 32), 0);
}

TEST(RectsOverlapTest, NegativeAndFarApartCoordinates) {
    EXPECT_EQ(rectsOverlap(-10, -10, 32, 32, 0, 0, 32, 32), 1);
    EXPECT_EQ(rectsOverlap(-2000000000, 0, 32, 32, 2000000000, 0, 32, 32), 0);
}

}  // namespace
