#pragma once
// Playing a replay back: the recorded controls stand in for the player's
// hands, one game at a time. Each game starts from its own recorded moment
// (whoever runs the loop starts it there) and is checked against its
// recorded end as it ends. The game itself never knows.

#include <cstdint>
#include <optional>
#include <string>

#include "game/loop_events.h"
#include "replay/replay_file.h"

enum class ReplayRead { read, cannotRead, notAReplay };

// The whole file, through the platform's file calls. Else why: cannotRead
// (missing, unreadable, too large, not a regular file) or notAReplay (not
// this game's format), with error saying why. A replay cut inside its last
// line is read up to the line before, and its `cut` says so.
ReplayRead readReplay(const std::string& path, Replay& replay, std::string& error);

// Where the game went otherwise than recorded: at that step (counted over the
// whole replay from 1, as kordavan-trace counts), and what differs.
struct ReplayDivergence {
    int64_t step = 0;
    std::string what;
};

class ReplayPlayer : public ControlSource {
  public:
    // With hands (the window) the player's own Escape and Pause still work,
    // and Return dismisses an end picture early; without them the recorded
    // Escape quits as it did (kordavan-trace).
    ReplayPlayer(Replay replay, ControlSource* hands);

    // Takes up the next game and gives its starting moment, or none once
    // every game was played, the replay went otherwise, or the player quit.
    std::optional<GameMoment> nextGame();

    Controls poll(LoopPhase phase, bool paused) override;
    void heard(const LoopEvent& event) override;
    // The game taken up is over, or the replay stops.
    bool done() const override;
    // The player's own, under the replay.
    const DeviceInput* readDevices() override;

    const std::optional<ReplayDivergence>& divergence() const { return diverged; }
    // The player pressed Escape on an end picture, where the loop reads none.
    bool quitByPlayer() const { return playerQuit; }

  private:
    const ReplayGame& current() const { return replay.games[game]; }
    void diverge(const std::string& what);
    void check(const GameEnd& actual);
    Controls replayedStep(const Controls& held);
    Controls replayedPicturePass(const Controls& held);

    Replay replay;
    ControlSource* hands;
    size_t game = 0;  // the game taken up
    bool taken = false;
    bool over = false;  // the game taken up has ended
    std::optional<ReplayDivergence> diverged;
    bool playerQuit = false;
    size_t line = 0;   // the game's next line of controls
    int64_t step = 0;  // over the whole replay
    int64_t stepsInGame = 0;
    int64_t passes = 0;
};
