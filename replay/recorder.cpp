// The recorder of replays. A game is fixed by its state and the generator's
// at its first step and by the controls of every step; the picture passes
// count only for when Return came.

#include "replay/recorder.h"

#include "game/game_state.h"
#include "game/random.h"
#include "platform/files.h"
#include "platform/warnings.h"

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
    platform::warnings() << "kordavan: cannot write the replay " << recorder.path << ": " << reason
                         << "; recording stops"
                         << (recorder.holdsGame ? " (the file holds every step until now)"
                                                : " (the file is removed, holding no game)")
                         << ", the game goes on\n";
    closeRecording();
}

}  // namespace

bool startRecording(const std::string& path, std::string& error) {
    stopRecording();
    recorder = Recorder{};
    std::string reason;
    recorder.file = platform::startFile(platform::utf8Path(path), reason);
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

void recordAfterStep(const Controls& controls) {
    if (!recorder.inGame) return;
    write(controlsLine(controls));
    if (controls.quit) {
        write(gameEndLine(GameEnd{GameEnding::quit, recorder.steps, 0, now()}));
        recorder.inGame = false;
    }
}

// The end is taken as the picture first shows, before its passes begin.
void recordPictureShown(bool won) {
    if (!recorder.inGame) return;
    recorder.end = GameEnd{won ? GameEnding::won : GameEnding::lost, recorder.steps, 0, now()};
}

void recordPictureDismissed(int64_t passes) {
    if (!recorder.inGame) return;
    recorder.passes = passes;
    recorder.end.passes = recorder.passes;
    write(gameEndLine(recorder.end));
    recorder.inGame = false;
}

void RecordingListener::heard(const LoopEvent& event) {
    switch (event.kind) {
        case LoopEventKind::stepBegins:
            recordBeforeStep();
            break;
        case LoopEventKind::stepRan:
            recordAfterStep(event.controls);
            break;
        case LoopEventKind::endPictureShown:
            recordPictureShown(event.won);
            break;
        case LoopEventKind::endPictureDismissed:
            recordPictureDismissed(event.passes);
            break;
        default:
            break;
    }
}
