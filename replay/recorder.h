#pragma once
// Recording the games played as a replay file. The recorder listens to the
// loop: it hears where each step begins and what controls it ran with, when
// an end picture shows and when Return came. The game itself never knows.

#include <cstdint>
#include <string>

#include "game/controls.h"
#include "game/loop_events.h"
#include "platform/files.h"
#include "replay/replay_file.h"

// One recording at a time, owned by whoever records: --record's file, "record
// my games", a test. Its file is closed by stop, not left to chance.
class ReplayRecorder : public LoopListener {
  public:
    ReplayRecorder() = default;
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;
    ~ReplayRecorder() override { stop(); }

    // Creates the file, a new one (a name already taken is refused, never
    // emptied); false with the reason when it cannot. Nothing goes in before
    // the first game begins, and a recording that never saw one leaves no
    // file. Every line is written whole and flushed as the game goes, so a
    // killed program leaves a replay of everything up to its last step. A
    // write that fails or would wait ends the recording with one line on
    // standard error; play goes on.
    bool start(const std::string& path, std::string& error);
    bool recording() const { return file != nullptr; }
    // Closes the file; a game still going is simply cut off there.
    void stop();

    void heard(const LoopEvent& event) override;

  private:
    void beforeStep();
    void afterStep(const Controls& controls);
    void pictureShown(bool won);
    void pictureDismissed(int64_t passes);
    void write(const std::string& line);

    platform::GrowingFile* file = nullptr;
    std::string path;
    // The file stays empty until a game begins, its first line and the
    // game's going in as one, so that every recording holds a game; one that
    // never got one is removed again.
    bool holdsGame = false;
    bool inGame = false;
    int64_t steps = 0;
    GameEnd end;  // taken at the first pass of the end picture
};
