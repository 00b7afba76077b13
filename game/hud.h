#pragma once
// The display over the game, and the two ways a game ends in the game world.

#include <cstdint>

// Phase 17: seven figure icons, one lit for each man picked up.
void drawFigureIcons();
// Phase 19: the energy bar, as wide as the energy.
void drawEnergyBar();
// Phase 20: the rotor beat keeps looping during play.
void keepBackgroundSound();
// Phase 21 (level 7 and up): the climb off the top of the screen;
// winPictureShows once the helicopter is gone, else frameGoesOn.
int32_t flyOutAfterWin();
// Phase 22 (energy below 0): the fall and the crash explosion;
// failurePictureShows once the explosion is over, else frameGoesOn.
int32_t fallAfterLoss();
