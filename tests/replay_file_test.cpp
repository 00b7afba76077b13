// The replay file: what the recorder writes reads back as the same games,
// and a damaged or hostile file is refused with the line that is wrong.

#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <string>

#include "game/state_fields.h"

namespace {

GameMoment someMoment() {
    GameMoment moment;
    moment.state.scrollPos = 1234.5678901234567;
    moment.state.velX = -0.1;  // no short decimal: only the shortest exact text reads back
    moment.state.energy = 17;
    moment.state.crusherY = 301.2;
    moment.random = 4'000'000'000u;
    return moment;
}

Controls held(bool left, bool land, bool quit) {
    Controls controls;
    controls.left = left;
    controls.land = land;
    controls.quit = quit;
    return controls;
}

// Two games: one lost after three steps (two lines), one quit at its second.
std::string twoGames() {
    GameEnd lost{GameEnding::lost, 3, 45, someMoment()};
    GameEnd quit{GameEnding::quit, 2, 0, GameMoment{}};
    return replayHeaderLine() + gameStartLine(someMoment()) +
           controlsLine(held(true, false, false)) + controlsLine(Controls{}) + gameEndLine(lost) +
           gameStartLine(GameMoment{}) + controlsLine(held(false, true, false)) +
           controlsLine(held(true, false, true)) + gameEndLine(quit);
}

std::string refusal(const std::string& text) {
    Replay replay;
    std::string error;
    EXPECT_FALSE(parseReplay(text, replay, error)) << text.substr(0, 200);
    return error;
}

std::string withLine(const std::string& text, int lineNumber, const std::string& line) {
    size_t start = 0;
    for (int i = 1; i < lineNumber; ++i) start = text.find('\n', start) + 1;
    const size_t end = text.find('\n', start);
    return text.substr(0, start) + line + text.substr(end);
}

TEST(ReplayFile, WhatIsWrittenReadsBackExactly) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(parseReplay(twoGames(), replay, error)) << error;
    ASSERT_EQ(replay.games.size(), 2u);
    const ReplayGame& first = replay.games[0];
    EXPECT_EQ(first.start.random, 4'000'000'000u);
    EXPECT_EQ(first.start.state.scrollPos, 1234.5678901234567);
    EXPECT_EQ(first.start.state.velX, -0.1);
    EXPECT_EQ(first.start.state.energy, 17);
    ASSERT_EQ(first.steps.size(), 2u);
    EXPECT_TRUE(first.steps[0].left);
    EXPECT_FALSE(first.steps[1].left);
    ASSERT_TRUE(first.end);
    EXPECT_EQ(first.end->ending, GameEnding::lost);
    EXPECT_EQ(first.end->passes, 45);
    EXPECT_FALSE(firstDifference(*first.end, GameEnd{GameEnding::lost, 3, 0, someMoment()}));
    EXPECT_TRUE(replay.games[1].steps[1].quit);
    EXPECT_EQ(replay.games[1].end->ending, GameEnding::quit);
}

TEST(ReplayFile, ControlsAreTheKeyScriptsWords) {
    Controls all = held(true, true, true);
    all.right = all.up = all.down = all.start = all.confirm = true;
    all.pause = true;  // the loop's: never recorded
    EXPECT_EQ(controlsLine(all), "LEFT RIGHT UP DOWN L SPACE RETURN ESCAPE\n");
    EXPECT_EQ(controlsLine(Controls{}), "\n");
    // Read in any case, with commas, as a key script is.
    const std::string text =
        replayHeaderLine() + gameStartLine(GameMoment{}) + "left, l\r\n" + "  \n";
    Replay replay;
    std::string error;
    ASSERT_TRUE(parseReplay(text, replay, error)) << error;
    ASSERT_EQ(replay.games[0].steps.size(), 2u);
    EXPECT_TRUE(replay.games[0].steps[0].left && replay.games[0].steps[0].land);
    EXPECT_FALSE(replay.games[0].end);  // cut off: still a replay of what it holds
    EXPECT_EQ(replay.cut,
              "the last game has no end line: the recording was cut off after line 4, and the "
              "replay ends there");
}

TEST(ReplayFile, RefusesWhatIsNoReplayNamingTheLine) {
    const std::string good = twoGames();
    EXPECT_EQ(refusal(""), "line 1: the file is empty, not a Kordavan replay");
    EXPECT_NE(refusal("kordavan-replay 2\n").find("line 1: replay format version \"2\""),
              std::string::npos);
    EXPECT_NE(refusal(withLine(good, 1, "P1 4 4")).find("line 1: not a Kordavan replay"),
              std::string::npos);
    EXPECT_NE(refusal(withLine(good, 3, "LEFT JUMP")).find("line 3: unknown control \"JUMP\""),
              std::string::npos);
    EXPECT_NE(refusal(withLine(good, 4, "P")).find("line 4: unknown control"), std::string::npos);
    EXPECT_NE(refusal(withLine(good, 3, "LEFT \xc3\xa9")).find("line 3: holds a character"),
              std::string::npos);
    EXPECT_NE(refusal(replayHeaderLine() + "LEFT\n").find("line 2: controls or an end outside"),
              std::string::npos);
    EXPECT_NE(refusal(replayHeaderLine()).find("line 1: the replay holds no game"),
              std::string::npos);
}

TEST(ReplayFile, RefusesValuesTheGameCannotHold) {
    const std::string start = gameStartLine(GameMoment{});
    const auto startWith = [&](const std::string& from, const std::string& to) {
        std::string line = start;
        line.replace(line.find(from), from.size(), to);
        return replayHeaderLine() + line;
    };
    // Out of the picture arrays, not whole, not a number, unknown, missing.
    EXPECT_NE(refusal(startWith(" level=0", " level=99")).find("line 2: level cannot be \"99\""),
              std::string::npos);
    EXPECT_NE(refusal(startWith(" level=0", " level=0.5")).find("level cannot be"),
              std::string::npos);
    EXPECT_NE(refusal(startWith(" velX=0", " velX=nan")).find("velX cannot be"), std::string::npos);
    EXPECT_NE(refusal(startWith(" velX=0", " velX=0x10")).find("velX cannot be"),
              std::string::npos);
    EXPECT_NE(refusal(startWith(" velX=0", " speed=0")).find("unknown field \"speed\""),
              std::string::npos);
    EXPECT_NE(refusal(startWith(" velX=0", "")).find("every field must be given"),
              std::string::npos);
    EXPECT_NE(refusal(startWith(" velX=0", " level=0")).find("level is given twice"),
              std::string::npos);
    EXPECT_NE(refusal(startWith("random=1", "random=4294967296")).find("random must be"),
              std::string::npos);
}

TEST(ReplayFile, RefusesLinesThatContradictEachOther) {
    const std::string good = twoGames();
    // The lost game has 2 lines, so 3 steps; the quit one 2 lines and 2 steps.
    EXPECT_NE(refusal(withLine(good, 5, gameEndLine({GameEnding::lost, 2, 45, someMoment()})))
                  .find("line 5: steps=2 must be 3: the game has 2 lines of controls and one "
                        "step more, its end picture's"),
              std::string::npos);
    EXPECT_NE(refusal(withLine(good, 5, gameEndLine({GameEnding::lost, 3, 0, someMoment()})))
                  .find("line 5: an end picture shows at least one pass"),
              std::string::npos);
    EXPECT_NE(refusal(withLine(good, 8, "RIGHT")).find("line 9: a game quit with Escape ends"),
              std::string::npos);
    EXPECT_NE(refusal(withLine(good, 9, "LEFT")).find("line 9: nothing but the end comes after"),
              std::string::npos);
    EXPECT_NE(refusal(withLine(good, 5, gameStartLine(GameMoment{})))
                  .find("line 5: a game begins before the last one has ended"),
              std::string::npos);
}

TEST(ReplayFile, AQuitGamesStepsAreItsLines) {
    const std::string good = twoGames();
    EXPECT_NE(refusal(withLine(good, 9, gameEndLine({GameEnding::quit, 3, 0, GameMoment{}})))
                  .find("line 9: steps=3 must be 2: the game has 2 lines of controls"),
              std::string::npos);
}

TEST(ReplayFile, ALastLineCutShortEndsTheReplayBeforeIt) {
    // The disk filled in the middle of "LEFT RIGHT".
    const std::string text = replayHeaderLine() + gameStartLine(GameMoment{}) + "LEFT\nLEFT RI";
    Replay replay;
    std::string error;
    ASSERT_TRUE(parseReplay(text, replay, error)) << error;
    ASSERT_EQ(replay.games.size(), 1u);
    EXPECT_EQ(replay.games[0].steps.size(), 1u);
    EXPECT_EQ(replay.cut,
              "line 4 is cut short (no line end): the recording was cut off there, and the "
              "replay ends before it");
    // An end line cut short leaves the game without its end.
    const std::string end = gameEndLine({GameEnding::lost, 3, 45, someMoment()});
    const std::string good = twoGames();
    const std::string cutEnd = good.substr(0, good.find(end) + end.size() / 2);
    ASSERT_TRUE(parseReplay(cutEnd, replay, error)) << error;
    EXPECT_FALSE(replay.games[0].end);
    EXPECT_EQ(replay.games[0].steps.size(), 2u);
    EXPECT_NE(replay.cut.find("line 5 is cut short"), std::string::npos);
}

TEST(ReplayFile, AFileCutRightAfterAGameLineHasNothingOfThatGame) {
    const std::string good = twoGames();
    const std::string secondGame = gameStartLine(GameMoment{});
    const std::string cut = good.substr(0, good.rfind(secondGame) + secondGame.size());
    Replay replay;
    std::string error;
    ASSERT_TRUE(parseReplay(cut, replay, error)) << error;
    EXPECT_EQ(replay.games.size(), 1u);
    EXPECT_EQ(replay.cut,
              "line 6 begins a game and nothing follows: the recording was cut off there, and "
              "the replay ends before it");
    EXPECT_EQ(refusal(replayHeaderLine() + gameStartLine(GameMoment{})),
              "line 2 begins a game and nothing follows: the recording was cut off there, and "
              "the replay ends before it; the replay holds no game");
    EXPECT_NE(refusal("kordavan-replay 1").find("line 1 is cut short"), std::string::npos);
}

TEST(ReplayFile, AByteOrderMarkBeforeTheFirstLineIsPassedOver) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(parseReplay("\xEF\xBB\xBF" + twoGames(), replay, error)) << error;
    EXPECT_EQ(replay.games.size(), 2u);
    EXPECT_TRUE(replay.cut.empty());
    // Anywhere else it is a character no replay has.
    EXPECT_NE(
        refusal(withLine(twoGames(), 3, "\xEF\xBB\xBFLEFT")).find("line 3: holds a character"),
        std::string::npos);
}

TEST(ReplayFile, NoGameLongerThanADayOfPlay) {
    const std::string good = twoGames();
    const std::string lost = gameEndLine({GameEnding::lost, 3, 45, someMoment()});
    std::string huge = lost;
    huge.replace(huge.find("passes=45"), 9, "passes=4611686018427387903");
    EXPECT_NE(refusal(withLine(good, 5, huge.substr(0, huge.size() - 1)))
                  .find("line 5: passes must be a whole number up to a day of play, 5184000"),
              std::string::npos);
    std::string dayAndOne = lost;
    dayAndOne.replace(dayAndOne.find("passes=45"), 9, "passes=5184001");
    EXPECT_NE(
        refusal(withLine(good, 5, dayAndOne.substr(0, dayAndOne.size() - 1))).find("passes must"),
        std::string::npos);
    // Empty lines are steps holding nothing; more than a day of them is
    // refused at the first one too many, whatever follows.
    const std::string empty = replayHeaderLine() + gameStartLine(GameMoment{}) +
                              std::string(static_cast<size_t>(longestPlay) + 10, '\n');
    EXPECT_EQ(refusal(empty), "line " + std::to_string(longestPlay + 3) +
                                  ": more steps than a day of play (5184000)");
}

TEST(ReplayFile, FirstDifferenceNamesTheFirstFieldInOrder) {
    const GameEnd recorded{GameEnding::won, 100, 3, someMoment()};
    GameEnd actual = recorded;
    actual.moment.state.crusherY = 301.25;
    actual.moment.state.energy = 16;
    EXPECT_EQ(firstDifference(recorded, actual), "energy is 16, the replay recorded 17");
    actual = recorded;
    actual.moment.random = 7;
    EXPECT_EQ(firstDifference(recorded, actual), "random is 7, the replay recorded 4000000000");
    actual.ending = GameEnding::lost;
    EXPECT_EQ(firstDifference(recorded, actual), "the game ended lost, the replay recorded won");
    actual = recorded;
    actual.passes = 9;  // when Return came is the player's, not the game's
    EXPECT_FALSE(firstDifference(recorded, actual));
}

}  // namespace
