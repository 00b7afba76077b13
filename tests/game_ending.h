#pragma once
// The game state at the very end of a won or lost game, so that the tests of
// the end pictures reach them in a step rather than a whole game.

#include "game/game_state.h"

inline void setUpGameEnding(bool won) {
    if (won) {
        game.level = 7;
        game.heliY = 2;  // the next step climbs off the top
    } else {
        game.energy = -1;
        game.heliY = 410;  // on the ground, the crash explosion over
        game.crashExplosionPending = 0;
    }
}
