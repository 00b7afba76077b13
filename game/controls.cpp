// The helicopter's controls: speeds and the landing key.

#include "game/controls.h"

#include "game/game_state.h"

void applyGameControls(const Controls& controls) {
    // Each limit is tested before the change, so a speed can pass it by less
    // than one push. Left pushes twice as hard as Right: the helicopter leaves
    // the base faster than it comes home.
    if (controls.left && game.landingActive != 1 && game.velX < 4.0) game.velX += 0.4;
    if (controls.right && game.landingActive != 1 && game.velX > -4.0) game.velX -= 0.2;
    if (controls.up && game.landingActive != 1 && game.velY > -4.0) game.velY -= 0.2;
    // Down still works while landing: the player may hurry the descent.
    if (controls.down && game.velY < 4.0) game.velY += 0.2;

    if (controls.land && game.landingActive != 1 && game.heliY > 270.0) {
        const bool atFarEnd = game.scrollPos >= 1900.0 && game.carryingMan == 0;
        const bool atBase = game.scrollPos <= 2.0 && game.carryingMan > 0;
        if (atFarEnd || atBase) game.landingActive = 1;
    }
}
