// The window's icon as every desktop and the browser's tab show it: full
// colour, see-through wherever the game would draw pure green.

#include "platform/window_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/bmp_bytes.h"

namespace {

using platform::WindowIcon;

constexpr int gameIconId = 139;

TEST(WindowIcon, PureGreenIsSeeThroughAndEveryOtherColourOpaqueAndExact) {
    // Top row first: green, a green the game's 16-bit pictures also read as
    // pure green, a green a shade too dark for that, and three plain colours.
    const std::vector<uint32_t> rgb = {0x00FF00, 0x07FC07, 0x00F800, 0xC02040, 0xFFFFFF, 0x000000};
    WindowIcon icon;
    ASSERT_TRUE(platform::decodeWindowIcon(testbmp::makeBmp(3, 2, rgb), icon));
    EXPECT_EQ(icon.width, 3);
    EXPECT_EQ(icon.height, 2);
    const std::vector<uint32_t> expected = {0x00000000, 0x00000000, 0xFF00F800,
                                            0xFFC02040, 0xFFFFFFFF, 0xFF000000};
    EXPECT_EQ(icon.pixels, expected);
}

TEST(WindowIcon, BytesThatAreNoBitmapLeaveTheIconAlone) {
    WindowIcon icon;
    icon.width = 7;
    const std::vector<uint8_t> junk = {'B', 'M', 1, 2, 3};
    EXPECT_FALSE(platform::decodeWindowIcon(junk, icon));
    EXPECT_EQ(icon.width, 7);
    EXPECT_TRUE(icon.pixels.empty());
}

TEST(WindowIcon, AModuleWithoutTheIconHasNone) {
    WindowIcon icon;
    const platform::Module empty;
    EXPECT_FALSE(platform::loadWindowIcon(&empty, gameIconId, icon));
    EXPECT_FALSE(platform::loadWindowIcon(nullptr, gameIconId, icon));
}

TEST(WindowIcon, TheGamesOwnIconHasAnEdgeToShowThrough) {
    WindowIcon icon;
    ASSERT_TRUE(platform::loadWindowIcon(platform::gameModule(), gameIconId, icon));
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    const auto clear = std::count(icon.pixels.begin(), icon.pixels.end(), 0u);
    const auto solid = std::count_if(icon.pixels.begin(), icon.pixels.end(),
                                     [](uint32_t pixel) { return pixel >> 24 == 0xFF; });
    EXPECT_GT(clear, 0);
    EXPECT_GT(solid, 0);
    EXPECT_EQ(clear + solid, 32 * 32);
    EXPECT_EQ(icon.pixels.front(), 0u) << "a corner shows the desktop";
}

}  // namespace
