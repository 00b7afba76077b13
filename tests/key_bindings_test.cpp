// Key and pad mapping: the defaults are the game's own keys, a settings line
// replaces one control's keys, and a name that is not known is reported
// with the file and line while the control keeps its keys.

#include "shell/key_bindings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <sstream>

namespace {

using namespace platform;

Controls withKeys(std::initializer_list<uint8_t> codes, const PadState& pad = {}) {
    uint8_t keys[256] = {};
    for (uint8_t code : codes) keys[code] = 0x80;
    return boundControls(keys, pad);
}

class KeyBindingsTest : public ::testing::Test {
  protected:
    void TearDown() override { useKeyBindings(defaultKeyBindings()); }
    KeyBindings parse(const std::string& text) {
        return parseKeyBindings(text, "/home/p/.config/kordavan/kordavan.conf", warnings);
    }
    std::ostringstream warnings;
};

TEST_F(KeyBindingsTest, DefaultsAreTheGamesOwnKeysAndPad) {
    EXPECT_TRUE(withKeys({DIK_LEFT}).left);
    EXPECT_TRUE(withKeys({DIK_RIGHT}).right);
    EXPECT_TRUE(withKeys({DIK_UP}).up);
    EXPECT_TRUE(withKeys({DIK_DOWN}).down);
    EXPECT_TRUE(withKeys({DIK_L}).land);
    EXPECT_TRUE(withKeys({DIK_P}).pause && withKeys({DIK_PAUSE}).pause);
    EXPECT_TRUE(withKeys({DIK_SPACE}).start);
    EXPECT_TRUE(withKeys({DIK_RETURN}).confirm);
    EXPECT_TRUE(withKeys({DIK_ESCAPE}).quit);
    EXPECT_TRUE(withKeys({DIK_F12}).screenshot);
    const Controls none = withKeys({DIK_A, DIK_Q, DIK_F11, DIK_NUMPADENTER});
    EXPECT_FALSE(none.left || none.right || none.up || none.down || none.land || none.pause ||
                 none.start || none.confirm || none.quit || none.screenshot);

    PadState pad;
    pad.start = true;
    const Controls start = withKeys({}, pad);
    EXPECT_TRUE(start.start && start.confirm);  // Space on the title, Return on the pictures
    pad = PadState{};
    pad.south = pad.back = pad.north = pad.left = true;
    const Controls buttons = withKeys({}, pad);
    EXPECT_TRUE(buttons.land && buttons.quit && buttons.screenshot && buttons.left);
    EXPECT_FALSE(buttons.pause || buttons.start);
    pad = PadState{};
    pad.west = true;
    EXPECT_TRUE(withKeys({}, pad).pause);  // X (Square): a pad alone pauses
}

TEST_F(KeyBindingsTest, ASettingReplacesThatControlsKeysOnly) {
    useKeyBindings(
        parse("# mine\nvolume = 50\nkey-left = a, Left\n KEY-Land=space\n"
              "pad-screenshot = RB\npad-pause = Start, Y\nkey-quit = Q\n"));
    EXPECT_EQ(warnings.str(), "");
    EXPECT_TRUE(withKeys({DIK_A}).left);
    EXPECT_TRUE(withKeys({DIK_LEFT}).left);
    EXPECT_TRUE(withKeys({DIK_SPACE}).land);
    EXPECT_TRUE(withKeys({DIK_SPACE}).start);  // start keeps Space as well
    EXPECT_FALSE(withKeys({DIK_L}).land);
    EXPECT_FALSE(withKeys({DIK_ESCAPE}).quit);
    EXPECT_TRUE(withKeys({DIK_Q}).quit);
    EXPECT_TRUE(withKeys({DIK_RIGHT}).right);
    PadState pad;
    pad.rightShoulder = true;
    EXPECT_TRUE(withKeys({}, pad).screenshot);
    pad = PadState{};
    pad.north = true;
    EXPECT_TRUE(withKeys({}, pad).pause);
    EXPECT_FALSE(withKeys({}, pad).screenshot);
}

TEST_F(KeyBindingsTest, UnknownNamesAreReportedAndTheDefaultStays) {
    useKeyBindings(
        parse("key-left = A, Lefty\npad-land = Z\nkey-jump = Space\n"
              "key-right = D\n"));
    EXPECT_EQ(warnings.str(),
              "kordavan: /home/p/.config/kordavan/kordavan.conf:1: no key called \"Lefty\"; "
              "key-left keeps its default\n"
              "kordavan: /home/p/.config/kordavan/kordavan.conf:2: no pad button called \"Z\"; "
              "pad-land keeps its default\n"
              "kordavan: /home/p/.config/kordavan/kordavan.conf:3: no control called \"jump\" "
              "(controls: left right up down land pause start confirm quit screenshot settings); "
              "left out\n");
    EXPECT_TRUE(withKeys({DIK_LEFT}).left);
    EXPECT_FALSE(withKeys({DIK_A}).left);
    PadState pad;
    pad.south = true;
    EXPECT_TRUE(withKeys({}, pad).land);
    EXPECT_TRUE(withKeys({DIK_D}).right);
}

// The settings and the keys read the same lines: a file a Windows editor
// saved, with a byte-order mark and CR LF ends, and a line that is no
// setting at all, which is the settings' warning, not a second one.
TEST_F(KeyBindingsTest, TheFileReadsAsTheSettingsReadIt) {
    useKeyBindings(
        parse("\xEF\xBB\xBFkey-left = A\r\nno setting\r\n  # key-up = W\r\n"
              "key-right = Q, Lefty\r\n"));
    EXPECT_EQ(warnings.str(),
              "kordavan: /home/p/.config/kordavan/kordavan.conf:4: no key called \"Lefty\"; "
              "key-right keeps its default\n");
    EXPECT_TRUE(withKeys({DIK_A}).left);
    EXPECT_FALSE(withKeys({DIK_W}).up);
    EXPECT_TRUE(withKeys({DIK_RIGHT}).right);
}

TEST_F(KeyBindingsTest, ALineThatNamesNoControlOrHidesBehindAByteOrMarkIsSaid) {
    useKeyBindings(parse("key- = A\n\xEF\xBB\xBFkey-up = W\npad- = B\n"));
    EXPECT_EQ(warnings.str(),
              "kordavan: /home/p/.config/kordavan/kordavan.conf:1: no control called \"\" "
              "(controls: left right up down land pause start confirm quit screenshot settings); "
              "left out\n"
              "kordavan: /home/p/.config/kordavan/kordavan.conf:2: begins with a byte-order mark, "
              "which only the file's first line may; left out\n"
              "kordavan: /home/p/.config/kordavan/kordavan.conf:3: no control called \"\" "
              "(controls: left right up down land pause start confirm quit screenshot settings); "
              "left out\n");
    EXPECT_TRUE(withKeys({DIK_UP}).up);
    EXPECT_FALSE(withKeys({DIK_W}).up);
}

TEST_F(KeyBindingsTest, WhenNoKeyWouldQuitEscapeStillDoes) {
    useKeyBindings(
        parse("key-left =\nkey-right =\nkey-up =\nkey-down =\nkey-land =\n"
              "key-pause =\nkey-start =\nkey-confirm =\nkey-quit =\n"
              "key-screenshot =\n"));
    EXPECT_EQ(warnings.str(),
              "kordavan: /home/p/.config/kordavan/kordavan.conf: no key is left "
              "to quit the game; Escape still quits\n");
    EXPECT_TRUE(withKeys({DIK_ESCAPE}).quit);
    EXPECT_FALSE(withKeys({DIK_LEFT}).left);
    // Quitting by another key is the player's choice, and Escape is free.
    warnings.str("");
    useKeyBindings(parse("key-quit = Q\n"));
    EXPECT_EQ(warnings.str(), "");
    EXPECT_FALSE(withKeys({DIK_ESCAPE}).quit);
}

TEST_F(KeyBindingsTest, KeyNamesCoverLettersDigitsAndTheNamedKeys) {
    EXPECT_EQ(keyByName("q"), DIK_Q);
    EXPECT_EQ(keyByName("M"), DIK_M);
    EXPECT_EQ(keyByName("0"), DIK_0);
    EXPECT_EQ(keyByName("1"), DIK_1);
    EXPECT_EQ(keyByName("enter"), DIK_RETURN);
    EXPECT_EQ(keyByName("KeypadEnter"), DIK_NUMPADENTER);
    EXPECT_EQ(keyByName("PageDown"), DIK_NEXT);
    EXPECT_EQ(keyByName("f12"), DIK_F12);
    EXPECT_EQ(keyByName("F11"), 0);  // the display switch is the window's own
    EXPECT_EQ(keyByName(""), 0);
    EXPECT_EQ(keyByName("?"), 0);
}

}  // namespace
