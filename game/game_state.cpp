// The one game record and the reset between games.

#include "game/game_state.h"

#include "game/random.h"

GameState game;

// A new game starts from the base with full energy and nobody rescued, but the
// world goes on where the last game left it: the helicopter keeps its screen x,
// the crushers, the walking man, a rocket in flight and orb 2's wobble carry
// over, and so do the orbs' positions (only their flags are cleared).
void resetGame() {
    game.energy = 352;
    game.level = 0;
    game.rescuedCount = 0;
    game.carryingMan = 0;
    game.manWaiting = 1;
    game.heliLanded = 0;
    game.landingActive = 0;
    game.scrollPos = 0.0;
    game.heliY = 370.0;
    game.velX = 0.0;
    game.velY = 0.0;
    game.orb1Active = 0;
    game.orb2Active = 0;
    game.orb3Active = 0;
    game.heliFacingLeft = 1;
    game.crashExplosionPending = 1;
    game.explosionDelay = 0;
    game.explosionFrame = 0;
    game.subSurfacing = 0;
    game.subHeight = 0;
    game.subTimer = 0;
}

void resumeGame(const GameState& saved, uint32_t random) {
    game = saved;
    randomState = random;
}
