#pragma once
// Recording the games played as a replay file, and playing one back. Both
// sit beside the loop: its observer tells them where each step begins and
// ends, and every poll of the controls passes them, so the recorder sees
// what the player held and the player can stand in for the player's hands.
// The game itself never knows.

#include <cstdint>
#include <string>

#include "game/controls.h"
#include "replay/replay_file.h"

// ---------------------------------------------------------------- recording

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
void recordAfterStep(int result);
void recordPoll(const Controls& controls);

// ---------------------------------------------------------------- playing

struct ReplayHandlers {
    // The game went otherwise than recorded: at that step (counted over the
    // whole replay from 1, as kordavan-trace counts), and what differs.
    void (*diverged)(int64_t step, const std::string& what) = nullptr;
    // The replay is over: the last end picture has been dismissed, or the
    // last game was quit or cut off at its last recorded step.
    void (*finished)() = nullptr;
};

// From the next step on the recorded controls stand in for the player's.
// With keepQuitAndPause the player's own Escape and Pause still work (in the
// window); otherwise the recorded Escape quits as it did (kordavan-trace).
// The first game starts at the next step; the loop must be in its game phase
// or about to enter it.
void startPlaying(Replay replay, ReplayHandlers handlers, bool keepQuitAndPause);
bool playing();
// Lets go of the controls; nothing more is checked.
void stopPlaying();

void playBeforeStep();
void playAfterStep(int result);
void playPoll(Controls& controls);
