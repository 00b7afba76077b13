#pragma once
// The display over the game, the two ways a game ends, and the flip.

#include <cstdint>

// Phase 17: seven figure icons, one lit for each man picked up.
void drawFigureIcons();
// Phase 19: the energy bar, as wide as the energy.
void drawEnergyBar();
// Phase 20: the rotor beat keeps looping during play.
void keepBackgroundSound();
// Phase 21 (level 7 and up): the climb off the top of the screen, then the
// success picture; 0 once Return has dismissed it, else 1.
int32_t flyOutAfterWin();
// Phase 22 (energy below 0): the fall, the crash explosion, then the failure
// picture; 0 once Return has dismissed it, else 1.
int32_t fallAfterLoss();
// Phase 23: shows the frame; 1, the game goes on.
int32_t showFrame();
