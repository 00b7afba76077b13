// What the page hands the canvas: the band of rows and columns that changed
// since the last picture, with the picture it keeps brought up to date.

#include "platform/changed_part.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using platform::ChangedPart;
using platform::takeChangedPart;

constexpr int width = 13;  // not a whole number of words
constexpr int height = 7;

std::vector<uint16_t> picture(uint16_t colour) {
    return std::vector<uint16_t>(static_cast<size_t>(width) * height, colour);
}

void expectPart(const ChangedPart& part, int left, int top, int right, int bottom) {
    EXPECT_EQ(part.left, left);
    EXPECT_EQ(part.top, top);
    EXPECT_EQ(part.right, right);
    EXPECT_EQ(part.bottom, bottom);
}

TEST(ChangedPart, TheFirstPictureIsWhollyNewAndKept) {
    std::vector<uint16_t> shown;
    const std::vector<uint16_t> next = picture(0x1234);
    expectPart(takeChangedPart(shown, next, width, height), 0, 0, width, height);
    EXPECT_EQ(shown, next);
}

TEST(ChangedPart, TheSamePictureAgainChangesNothing) {
    std::vector<uint16_t> shown = picture(7);
    EXPECT_TRUE(takeChangedPart(shown, picture(7), width, height).empty());
    EXPECT_EQ(shown, picture(7));
}

TEST(ChangedPart, ChangesInSeveralRowsMakeOneBandAcrossTheirColumns) {
    std::vector<uint16_t> shown = picture(0);
    std::vector<uint16_t> next = picture(0);
    next[2 * width + 5] = 1;
    next[4 * width + 9] = 1;
    next[3 * width + 6] = 1;
    expectPart(takeChangedPart(shown, next, width, height), 5, 2, 10, 5);
    EXPECT_EQ(shown, next);
}

TEST(ChangedPart, APixelInTheLastColumnsBeyondWholeWordsIsFound) {
    for (int x = 0; x < width; ++x) {
        std::vector<uint16_t> shown = picture(0);
        std::vector<uint16_t> next = picture(0);
        next[(height - 1) * width + x] = 0x8000;
        expectPart(takeChangedPart(shown, next, width, height), x, height - 1, x + 1, height);
        EXPECT_EQ(shown, next);
    }
}

TEST(ChangedPart, OnlyTheChangedRowsAreCopiedIntoTheKeptPicture) {
    std::vector<uint16_t> shown = picture(0);
    std::vector<uint16_t> next = picture(0);
    next[width + 1] = 3;
    takeChangedPart(shown, next, width, height);
    next[width + 1] = 4;
    expectPart(takeChangedPart(shown, next, width, height), 1, 1, 2, 2);
    EXPECT_EQ(shown[width + 1], 4);
}

TEST(ChangedPart, APictureOfAnotherSizeIsWhollyNew) {
    std::vector<uint16_t> shown(4, 0);
    const std::vector<uint16_t> next = picture(0);
    expectPart(takeChangedPart(shown, next, width, height), 0, 0, width, height);
    EXPECT_EQ(shown, next);
}

}  // namespace
