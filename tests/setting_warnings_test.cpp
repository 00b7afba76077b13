// A settings line the game cannot use is said once, by whichever reader
// owns it (the settings' or the keys'), naming the file and line and what
// the player most likely meant.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "shell/key_bindings.h"
#include "shell/settings_file.h"

namespace {

// What the game says of a file: both of its readers, as at start-up.
std::string saidOf(const std::string& text, KeyBindings* keys = nullptr) {
    std::ostringstream warnings;
    parseSettings(text, "kordavan.conf", warnings);
    const KeyBindings parsed = parseKeyBindings(text, "kordavan.conf", warnings);
    if (keys != nullptr) *keys = parsed;
    return warnings.str();
}

TEST(SettingWarnings, AMisspeltLineIsSaidOnceWithWhatItMeant) {
    const struct {
        const char* line;
        const char* said;
    } cases[] = {
        {"volumee = 50", "no setting called \"volumee\" (did you mean volume?); left out"},
        {"Pause_On_Focus_Loss = no",
         "no setting called \"Pause_On_Focus_Loss\" (did you mean pause-on-focus-loss?); left "
         "out"},
        {"fullscreen = yes",
         "no setting called \"fullscreen\" (did you mean display = fullscreen?); left out"},
        {"key_left = A", "no setting called \"key_left\" (did you mean key-left?); left out"},
        {"record = games.replay",
         "no setting called \"record\" (--record is for the command line only); left out"},
        {"difficulty = hard", "no setting called \"difficulty\"; left out"},
        {"key-lefft = A", "no control called \"lefft\" (did you mean key-left?); left out"},
        {"pad-jump = A",
         "no control called \"jump\" (controls: left right up down land pause start confirm "
         "quit screenshot settings); left out"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(saidOf("volume = 20\n" + std::string(c.line) + "\n"),
                  "kordavan: kordavan.conf:2: " + std::string(c.said) + "\n")
            << c.line;
    }
}

TEST(SettingWarnings, AnEmptyKeySettingsLineKeepsOThatOpensTheScreen) {
    KeyBindings keys;
    EXPECT_EQ(saidOf("key-settings =\n", &keys),
              "kordavan: kordavan.conf:1: no key is left to open the settings screen; "
              "key-settings keeps its default, O\n");
    EXPECT_EQ(keys.keys[controlIndex("settings")],
              defaultKeyBindings().keys[controlIndex("settings")]);
    // Another key is the player's choice.
    EXPECT_EQ(saidOf("key-settings = P\n", &keys), "");
    EXPECT_EQ(keys.keys[controlIndex("settings")], std::vector<uint8_t>{platform::DIK_P});
}

}  // namespace
