// The browser's key names against the keys the game knows: the same keyboard
// as the desktop's, and the page left to scroll by nothing the game flies with.

#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/sdl/keymap.h"
#include "platform/web/keymap.h"

namespace {

using platform::web::dikFromKeyCode;
using platform::web::keyScrollsThePage;

TEST(WebKeymap, TheGamesKeysHaveTheirScanCodes) {
    EXPECT_EQ(dikFromKeyCode("Escape"), platform::DIK_ESCAPE);
    EXPECT_EQ(dikFromKeyCode("Enter"), platform::DIK_RETURN);
    EXPECT_EQ(dikFromKeyCode("KeyL"), platform::DIK_L);
    EXPECT_EQ(dikFromKeyCode("Space"), platform::DIK_SPACE);
    EXPECT_EQ(dikFromKeyCode("ArrowUp"), platform::DIK_UP);
    EXPECT_EQ(dikFromKeyCode("ArrowDown"), platform::DIK_DOWN);
    EXPECT_EQ(dikFromKeyCode("ArrowLeft"), platform::DIK_LEFT);
    EXPECT_EQ(dikFromKeyCode("ArrowRight"), platform::DIK_RIGHT);
}

TEST(WebKeymap, TheBrowserReachesEveryKeyTheDesktopReaches) {
    std::set<uint8_t> desktop;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const uint8_t dik = platform::sdl::dikFromScancode(scancode);
        if (dik != 0) desktop.insert(dik);
    }
    std::set<uint8_t> browser;
    for (const platform::KeyboardKey& key : platform::keyboardKeys) {
        if (key.browserCode.empty()) continue;
        const uint8_t dik = dikFromKeyCode(key.browserCode);
        EXPECT_EQ(dik, key.dik) << key.browserCode << " is named twice";
        EXPECT_NE(dik, 0) << key.browserCode;
        EXPECT_TRUE(browser.insert(dik).second) << key.browserCode << " shares its scan code";
    }
    EXPECT_EQ(browser, desktop);
}

TEST(WebKeymap, KeysTheGameDoesNotKnowGiveNothing) {
    EXPECT_EQ(dikFromKeyCode(""), 0);
    EXPECT_EQ(dikFromKeyCode("Fn"), 0);
    EXPECT_EQ(dikFromKeyCode("MediaPlayPause"), 0);
    EXPECT_EQ(dikFromKeyCode("arrowleft"), 0);
}

TEST(WebKeymap, OnlyTheArrowsAndSpaceAreKeptFromThePage) {
    int kept = 0;
    for (int dik = 0; dik < 256; ++dik) {
        if (keyScrollsThePage(static_cast<uint8_t>(dik))) ++kept;
    }
    EXPECT_EQ(kept, 5);
    for (uint8_t dik : {platform::DIK_UP, platform::DIK_DOWN, platform::DIK_LEFT,
                        platform::DIK_RIGHT, platform::DIK_SPACE}) {
        EXPECT_TRUE(keyScrollsThePage(dik));
    }
}

}  // namespace
