// The game's eight controls are written once, in game/controls.h: the word a
// replay file and a key script use and the member of the record. The replay
// file and the trace tool's key scripts follow that one table, and the
// control table's default key of each holds that control alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "game/controls.h"
#include "replay/replay_file.h"
#include "shell/key_bindings.h"

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

Controls only(bool Controls::*member) {
    Controls controls;
    controls.*member = true;
    return controls;
}

bool same(const Controls& a, const Controls& b) {
    return a.left == b.left && a.right == b.right && a.up == b.up && a.down == b.down &&
           a.land == b.land && a.start == b.start && a.confirm == b.confirm && a.quit == b.quit &&
           a.pause == b.pause && a.screenshot == b.screenshot && a.settings == b.settings;
}

TEST(ControlWords, EachWordNamesItsControlInAnyCase) {
    for (const ControlWord& row : controlWords) {
        ASSERT_EQ(findControlWord(row.word), &row);
        EXPECT_EQ(findControlWord(lower(row.word)), &row);
        EXPECT_EQ(findControlWord(row.member), &row);
    }
    EXPECT_EQ(findControlWord("JUMP"), nullptr);
    EXPECT_EQ(findControlWord("LEFTX"), nullptr);
    EXPECT_EQ(findControlWord(""), nullptr);
    // Pausing, screenshots and the settings screen are the loop's, never part
    // of a game's record.
    EXPECT_EQ(findControlWord(&Controls::pause), nullptr);
    EXPECT_EQ(findControlWord(&Controls::screenshot), nullptr);
    EXPECT_EQ(findControlWord(&Controls::settings), nullptr);
}

TEST(ControlWords, TheDefaultKeyOfEachGameControlHoldsThatControlAlone) {
    useKeyBindings(defaultKeyBindings());
    for (const ControlWord& row : controlWords) {
        uint8_t keys[256] = {};
        keys[defaultKey(row.member)] = 0x80;
        EXPECT_TRUE(same(boundControls(keys, platform::PadState{}), only(row.member))) << row.word;
    }
}

TEST(ControlWords, AReplayWritesAndReadsTheSameWords) {
    Controls all;
    for (const ControlWord& row : controlWords) all.*row.member = true;
    EXPECT_EQ(controlsWords(all), controlWordList());

    for (const ControlWord& row : controlWords) {
        Replay replay;
        std::string error;
        const std::string text =
            replayHeaderLine() + gameStartLine(GameMoment{}) + lower(row.word) + "\n";
        ASSERT_TRUE(parseReplay(text, replay, error)) << error;
        ASSERT_EQ(replay.games.size(), 1u);
        ASSERT_EQ(replay.games[0].steps.size(), 1u);
        EXPECT_TRUE(same(replay.games[0].steps[0], only(row.member))) << row.word;
    }
}

TEST(ControlWords, AnUnknownWordIsRefusedWithTheWholeList) {
    Replay replay;
    std::string error;
    const std::string text = replayHeaderLine() + gameStartLine(GameMoment{}) + "JUMP\n";
    EXPECT_FALSE(parseReplay(text, replay, error));
    EXPECT_NE(error.find("(controls: LEFT RIGHT UP DOWN L SPACE RETURN ESCAPE)"), std::string::npos)
        << error;
}

}  // namespace
