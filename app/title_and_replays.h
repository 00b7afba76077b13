#pragma once
// The title with the player's hands, and the replays the player asks to
// watch from it: one picked on the settings screen or dropped onto the
// window is read as soon as the title is on show, played in the window game
// after game as it was recorded, and the title comes back waiting for Space.
// A file that is no replay is named in a warning, with the line that is
// wrong, and the title goes on where it was. A replay asked for at start
// plays the same way before the title. A frame at a time, so the desktop's
// loop and the browser's run it alike.

#include <optional>
#include <vector>

#include "app/main_loop.h"
#include "game/loop_events.h"
#include "replay/replay_file.h"

// Who takes part in the show.
struct TitleShow {
    ControlSource* hands = nullptr;  // the player's own
    // Hear the title and the player's own games.
    std::vector<LoopListener*> titleListeners;
    // Hear the games of a replay watched from the title.
    std::vector<LoopListener*> replayListeners;
    // What the settings control opens (none: the control does nothing).
    OverlayScreen* screen = nullptr;
    // A replay asked for at start, watched before the title: Escape in it,
    // or on its end picture, ends the program. Its games are heard by
    // `openingListeners`.
    std::optional<Replay> opening;
    std::vector<LoopListener*> openingListeners;
};

// The replay asked for at start, if any, else the title waiting for Space.
void beginShow(TitleShow cast);

// One frame of the title, a game or a replay, and the next of them when one
// ends. False once the program is over: the player quit, or the window was
// closed. Escape in a replay watched from the title only stops the replay.
bool titleOrReplayFrame();
