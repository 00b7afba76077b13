// The recorder and the player of replays. A game is fixed by its state and
// the generator's at its first step and by the controls of every step; the
// picture passes count only for when Return came.

#include "app/replay.h"

#include <algorithm>
#include <iostream>
#include <utility>

#include "app/keyboard.h"
#include "app/main_loop.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/files.h"

namespace {

// ---------------------------------------------------------------- recording

struct Recorder {
    platform::GrowingFile* file = nullptr;
    std::string path;
    // The file stays empty until a game begins, its first line and the
    // game's going in as one, so that every recording holds a game; one that
    // never got one is removed again.
    bool holdsGame = false;
    bool inGame = false;
    int64_t steps = 0;
    int64_t passes = 0;
    GameEnd end;  // taken at the first pass of the end picture
};

Recorder recorder;

GameMoment now() {
    return GameMoment{game, randomState};
}

void closeRecording() {
    if (recorder.holdsGame) {
        platform::closeFile(recorder.file);
    } else {
        platform::discardFile(recorder.file);
    }
    recorder.file = nullptr;
}

// A line goes in whole or not at all and never waits, so the file is a
// replay of every step written, whatever stops it.
void write(const std::string& line) {
    if (recorder.file == nullptr) return;
    std::string reason;
    if (platform::addToFile(recorder.file, line, reason)) return;
    std::cerr << "kordavan: cannot write the replay " << recorder.path << ": " << reason
              << "; recording stops"
              << (recorder.holdsGame ? " (the file holds every step until now)"
                                     : " (the file is removed, holding no game)")
              << ", the game goes on\n";
    closeRecording();
}

// ---------------------------------------------------------------- playing

// An end picture the replay did not record (it went otherwise) is dismissed
// after two seconds.
constexpr int64_t unrecordedPasses = 120;

struct Player {
    bool active = false;
    Replay replay;
    ReplayHandlers handlers;
    bool keepQuitAndPause = false;
    size_t game = 0;  // the game now playing
    size_t line = 0;  // its next line of controls
    bool starting = true;
    bool inStep = false;
    int64_t step = 0;  // over the whole replay
    int64_t stepsInGame = 0;
    int64_t passes = 0;
};

Player player;

const ReplayGame& currentGame() {
    return player.replay.games[player.game];
}

void finish() {
    player.active = false;
    if (player.handlers.finished != nullptr) player.handlers.finished();
}

void diverge(const std::string& what) {
    player.active = false;
    if (player.handlers.diverged != nullptr) player.handlers.diverged(player.step, what);
}

void check(const GameEnd& actual) {
    const ReplayGame& recorded = currentGame();
    if (!recorded.end) {
        // A recording cut off ends with its last step, where play stops
        // first; this game ended before that.
        const size_t left = recorded.steps.size() - std::min(player.line, recorded.steps.size());
        diverge(std::string("the game ended ") + endingName(actual.ending) +
                ", but the replay recorded " + std::to_string(left) + " more step" +
                (left == 1 ? "" : "s") + " of it");
        return;
    }
    if (const auto difference = firstDifference(*recorded.end, actual)) diverge(*difference);
}

Controls replayedStep(const Controls& held) {
    const ReplayGame& recorded = currentGame();
    if (player.line >= recorded.steps.size()) {
        diverge(recorded.end ? std::string("the game goes on, but the replay recorded it ") +
                                   endingName(recorded.end->ending) + " at this step"
                             : "the game goes on past the replay's last step");
        return held;
    }
    Controls replayed = recorded.steps[player.line];
    if (player.keepQuitAndPause) {
        replayed.quit = held.quit;
        replayed.pause = held.pause;
    }
    return replayed;
}

Controls replayedPicturePass(const Controls& held, LoopPhase phase) {
    const ReplayGame& recorded = currentGame();
    if (player.passes == 0) {
        player.inStep = false;
        const GameEnding ending =
            phase == LoopPhase::WinPicture ? GameEnding::won : GameEnding::lost;
        check(GameEnd{ending, player.stepsInGame, 0, now()});
    }
    ++player.passes;
    const bool recordedPicture = recorded.end && recorded.end->passes > 0;
    Controls replayed;
    replayed.confirm = player.passes >= (recordedPicture ? recorded.end->passes : unrecordedPasses);
    if (player.keepQuitAndPause) replayed.quit = held.quit;
    return replayed;
}

}  // namespace

bool startRecording(const std::string& path, std::string& error) {
    stopRecording();
    recorder = Recorder{};
    std::string reason;
    recorder.file = platform::startFile(path, reason);
    if (recorder.file == nullptr) {
        error = "cannot create the replay " + path + ": " + reason;
        return false;
    }
    recorder.path = path;
    return true;
}

bool recording() {
    return recorder.file != nullptr;
}

void stopRecording() {
    closeRecording();
}

void recordBeforeStep() {
    if (!recorder.inGame) {
        write(recorder.holdsGame ? gameStartLine(now())
                                 : replayHeaderLine() + gameStartLine(now()));
        recorder.holdsGame = recorder.file != nullptr;
        recorder.inGame = true;
        recorder.steps = 0;
        recorder.passes = 0;
    }
    ++recorder.steps;
}

void recordAfterStep(int result) {
    if (!recorder.inGame) return;
    if (result == 0) {
        recorder.end.passes = recorder.passes;
        write(gameEndLine(recorder.end));
        recorder.inGame = false;
        return;
    }
    const Controls& controls = currentControls();
    write(controlsLine(controls));
    if (controls.quit) {
        write(gameEndLine(GameEnd{GameEnding::quit, recorder.steps, 0, now()}));
        recorder.inGame = false;
    }
}

void recordPoll(const Controls&) {
    const LoopPhase phase = loopPhase();
    if (!recorder.inGame ||
        (phase != LoopPhase::WinPicture && phase != LoopPhase::FailurePicture)) {
        return;
    }
    if (recorder.passes == 0) {
        const GameEnding ending =
            phase == LoopPhase::WinPicture ? GameEnding::won : GameEnding::lost;
        recorder.end = GameEnd{ending, recorder.steps, 0, now()};
    }
    ++recorder.passes;
}

void startPlaying(Replay replay, ReplayHandlers handlers, bool keepQuitAndPause) {
    player = Player{};
    player.replay = std::move(replay);
    player.handlers = handlers;
    player.keepQuitAndPause = keepQuitAndPause;
    player.active = !player.replay.games.empty();
}

bool playing() {
    return player.active;
}

void stopPlaying() {
    player.active = false;
}

void playBeforeStep() {
    if (!player.active) return;
    if (player.starting) {
        const GameMoment& start = currentGame().start;
        game = start.state;
        randomState = start.random;
        player.starting = false;
        player.line = 0;
        player.stepsInGame = 0;
        player.passes = 0;
    }
    ++player.step;
    ++player.stepsInGame;
    player.inStep = true;
}

void playPoll(Controls& controls) {
    if (!player.active) return;
    const LoopPhase phase = loopPhase();
    if (phase == LoopPhase::Game && player.inStep) {
        controls = replayedStep(controls);
    } else if (phase == LoopPhase::WinPicture || phase == LoopPhase::FailurePicture) {
        controls = replayedPicturePass(controls, phase);
    }
    // While paused only the player's Escape and Pause count, as in play.
}

void playAfterStep(int result) {
    if (!player.active) return;
    player.inStep = false;
    if (result == 0) {
        // The end picture has been dismissed: on to the next game, or done.
        ++player.game;
        player.starting = true;
        if (player.game >= player.replay.games.size()) {
            finish();
        } else {
            jumpToGame();
        }
        return;
    }
    const ReplayGame& recorded = currentGame();
    const bool quit = recorded.steps[player.line].quit;
    ++player.line;
    if (quit) {
        check(GameEnd{GameEnding::quit, player.stepsInGame, 0, now()});
        if (player.active) finish();
    } else if (player.line == recorded.steps.size() && !recorded.end) {
        finish();
    }
}
