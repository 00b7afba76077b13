#pragma once
// The replay file, read and written in this one place by the game and by
// kordavan-trace. Plain UTF-8 text (ASCII in fact), one line each:
//
//   kordavan-replay 1                       the format and its version
//   game random=N scrollPos=0 velX=0 ...    a game begins from this state
//   LEFT UP                                 the controls held at one step
//                                           (an empty line: none held)
//   end won steps=N passes=N random=N ...   the game has ended
//
// The controls are those of the game, in kordavan-trace's key words: LEFT
// RIGHT UP DOWN, L (land), SPACE (start), RETURN (confirm), ESCAPE (quit).
// A game line holds the generator's state and every field of the game state
// as kordavan-trace prints it, so each game starts exactly where it did,
// whatever came before. The last step of a won or lost game shows its end
// picture and reads no controls, so such a game has one step more than it
// has lines; its end line says after how many picture passes Return came.
// A game ended with Escape has its ESCAPE step last and its end line says
// quit. The end line holds the state once the game ended (before the next
// one is set up), for the replay to check against. A file cut off after any
// whole line (the game was killed) is still a replay of what it holds; so is
// one cut inside its last line (the disk filled), which ends before that
// line. Every line the recorder writes ends with a newline.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/controls.h"
#include "game/game_state.h"

constexpr std::string_view replayFormatName = "kordavan-replay";
constexpr int replayFormatVersion = 1;
// A day of play at 60 steps a second: more steps in a game or in a whole
// replay, or more passes of an end picture, than anyone has played.
constexpr int64_t longestPlay = int64_t{60} * 60 * 60 * 24;
// A day of steps with every control held fits; a larger file is no replay.
constexpr size_t largestReplay = 256 << 20;

enum class GameEnding { won, lost, quit };

// The game and its generator at one moment.
struct GameMoment {
    GameState state;
    uint32_t random = 1;
};

struct GameEnd {
    GameEnding ending = GameEnding::quit;
    int64_t steps = 0;   // runGame calls of this game
    int64_t passes = 0;  // of its end picture, the last one with Return; 0 for quit
    GameMoment moment;
};

struct ReplayGame {
    GameMoment start;
    std::vector<Controls> steps;
    std::optional<GameEnd> end;  // none when the recording was cut off
};

struct Replay {
    std::vector<ReplayGame> games;
    // Why the replay ends early, for the player to be told ("line 611 is cut
    // short: ..."); empty for a file the recorder finished.
    std::string cut;
};

// The lines as the recorder writes them, each ending with a newline.
std::string replayHeaderLine();
std::string gameStartLine(const GameMoment& start);
std::string controlsLine(const Controls& controls);
std::string gameEndLine(const GameEnd& end);

// The words of the controls the game reads (pause is the loop's business
// and not recorded).
std::string controlsWords(const Controls& controls);
const char* endingName(GameEnding ending);

// The whole file. False with a message naming the line (1 for the first)
// when it is not a replay this game can play: a wrong first line, an unknown
// word or field, a value the game cannot hold, or lines that contradict
// each other. A byte-order mark before the first line is passed over. A
// last line without its newline, and a game line with nothing after it at
// the end, are what a recording cut off leaves: the replay ends before
// them and says so in `cut`; so does a last game that lacks its end line.
bool parseReplay(std::string_view text, Replay& replay, std::string& error);

// What tells two ends apart, the first thing that differs in the order of
// the end line, e.g. "scrollPos is 1200.4, the replay recorded 1200.6";
// none when they agree.
std::optional<std::string> firstDifference(const GameEnd& recorded, const GameEnd& actual);

// The number as kordavan-trace prints it: the shortest text that reads back
// as the same double.
std::string replayNumber(double value);
