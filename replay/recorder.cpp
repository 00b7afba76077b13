// The recorder of replays. A game is fixed by its state and the generator's
// at its first step and by the controls of every step; the picture passes
// count only for when Return came.

#include "replay/recorder.h"

#include "game/game_state.h"
#include "game/random.h"
#include "platform/printable.h"
#include "platform/warnings.h"

namespace {

GameMoment now() {
    return GameMoment{game, randomState};
}

}  // namespace

bool ReplayRecorder::start(const std::string& to, std::string& error) {
    stop();
    holdsGame = false;
    inGame = false;
    steps = 0;
    std::string reason;
    file = platform::startFile(platform::utf8Path(to), reason);
    if (file == nullptr) {
        error = "cannot create the replay " + shownName(to) + ": " + reason;
        return false;
    }
    path = to;
    return true;
}

void ReplayRecorder::stop() {
    if (file == nullptr) return;
    if (holdsGame) {
        platform::closeFile(file);
    } else {
        platform::discardFile(file);
    }
    file = nullptr;
}

// A line goes in whole or not at all and never waits, so the file is a
// replay of every step written, whatever stops it.
void ReplayRecorder::write(const std::string& line) {
    if (file == nullptr) return;
    std::string reason;
    if (platform::addToFile(file, line, reason)) return;
    platform::warnings() << "kordavan: cannot write the replay " << shownName(path) << ": "
                         << reason << "; recording stops"
                         << (holdsGame ? " (the file holds every step until now)"
                                       : " (the file is removed, holding no game)")
                         << ", the game goes on\n";
    stop();
}

void ReplayRecorder::beforeStep() {
    if (!inGame) {
        write(holdsGame ? gameStartLine(now()) : replayHeaderLine() + gameStartLine(now()));
        holdsGame = file != nullptr;
        inGame = true;
        steps = 0;
    }
    ++steps;
}

void ReplayRecorder::afterStep(const Controls& controls) {
    if (!inGame) return;
    write(controlsLine(controls));
    if (controls.quit) {
        write(gameEndLine(GameEnd{GameEnding::quit, steps, 0, now()}));
        inGame = false;
    }
}

// The end is taken as the picture first shows, before its passes begin.
void ReplayRecorder::pictureShown(bool won) {
    if (!inGame) return;
    end = GameEnd{won ? GameEnding::won : GameEnding::lost, steps, 0, now()};
}

void ReplayRecorder::pictureDismissed(int64_t passes) {
    if (!inGame) return;
    end.passes = passes;
    write(gameEndLine(end));
    inGame = false;
}

void ReplayRecorder::heard(const LoopEvent& event) {
    switch (event.kind) {
        case LoopEventKind::stepBegins:
            beforeStep();
            break;
        case LoopEventKind::stepRan:
            afterStep(event.controls);
            break;
        case LoopEventKind::endPictureShown:
            pictureShown(event.won);
            break;
        case LoopEventKind::endPictureDismissed:
            pictureDismissed(event.passes);
            break;
        default:
            break;
    }
}
