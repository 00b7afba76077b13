#pragma once
// "Record my games": while the player has it on, the games of a run go into
// a new replay in the recordings folder, named by when the first of them
// began, and the folder keeps the newest fifty. The switch (this run's
// settings push it at start-up and as the settings screen changes it) is
// looked at as each game begins, so turning it on or off counts from the
// next game; a
// recording that cannot be made is told once, and the game goes on.

#include <filesystem>

#include "game/loop_events.h"
#include "replay/recorder.h"

// "Record my games" on or off, for every GamesRecorder of the run.
void recordPlayersGames(bool on);

// The recorder beside the loop of the player's own games, when no --record
// was given (that file takes every game instead).
class GamesRecorder : public LoopListener {
  public:
    void heard(const LoopEvent& event) override;
    // Closes the recording going on: the run is over.
    void stop() { recorder.stop(); }

  private:
    void gameBegins();
    void start();

    ReplayRecorder recorder;
    std::filesystem::path file;  // of the recording going on, never pruned
    bool betweenGames = true;
    bool ours = false;      // the recording going on is this one's
    bool pruneDue = false;  // once the new file holds its first game
    bool givenUp = false;   // a recording failed: no more tries this run
};
