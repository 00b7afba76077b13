#pragma once
// The title with the player's hands, and the replays the player asks to
// watch from it: one picked on the settings screen or dropped onto the
// window is read as soon as the title is on show, played in the window game
// after game as it was recorded, and the title comes back waiting for Space.
// A file that is no replay is named in a warning, with the line that is
// wrong, and the title goes on where it was. A frame at a time, so the
// desktop's loop and the browser's run it alike.

#include <vector>

#include "game/loop_events.h"
#include "replay/player.h"

// The title waiting for Space. `titleListeners` hear the title and the
// player's own games, `replayListeners` the games of a replay watched.
void beginTitle(ControlSource& hands, std::vector<LoopListener*> titleListeners,
                std::vector<LoopListener*> replayListeners);

// One frame of the title, a game or a replay, and the next of them when one
// ends. False once the program is over: the player quit, or the window was
// closed. Escape in a replay only stops the replay.
bool titleOrReplayFrame();

// After a replay's last game in the window: says where it went otherwise
// than recorded, if it did, and leaves the game as the title expects it.
void replayOver(const ReplayPlayer& player);
