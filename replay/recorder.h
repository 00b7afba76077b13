#pragma once
// Recording the games played as a replay file. The recorder listens to the
// loop: it hears where each step begins and what controls it ran with, when
// an end picture shows and when Return came. The game itself never knows.

#include <cstdint>
#include <string>

#include "game/controls.h"
#include "game/loop_events.h"
#include "replay/replay_file.h"

// Creates the file, a new one (a name already taken is refused, never
// emptied); false with the reason when it cannot. Nothing goes in before the
// first game begins, and a recording that never saw one leaves no file.
// Every line is written whole and flushed as the game goes, so a killed
// program leaves a replay of everything up to its last step. A write that
// fails or would wait ends the recording with one line on standard error;
// play goes on.
bool startRecording(const std::string& path, std::string& error);
bool recording();
// Closes the file; a game still going is simply cut off there.
void stopRecording();

void recordBeforeStep();
void recordAfterStep(const Controls& controls);
void recordPictureShown(bool won);
void recordPictureDismissed(int64_t passes);

// The recorder as the loop's listener.
class RecordingListener : public LoopListener {
  public:
    void heard(const LoopEvent& event) override;
};
