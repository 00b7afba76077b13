// One frame of the game. The phases run in this order every frame; the order
// is also the painting order, so the helicopter covers the orbs and crushers,
// and the men, the submarine, the rocket, the explosion and the display are
// drawn over it. The hazards test the helicopter where the last frame left it,
// the rocket where this frame's flight has taken it. The keys are read after
// the frame, so they act from the next frame on; the loop shows the frame.

#include "game/backdrop.h"
#include "game/crushers.h"
#include "game/game_state.h"
#include "game/helicopter.h"
#include "game/hud.h"
#include "game/landing.h"
#include "game/launcher.h"
#include "game/submarine.h"

int runGame() {
    drawBackdrop();
    updateLauncher();
    if (game.orb1Active != 0) updateOrb1();
    updateOrb2();
    updateOrb3();
    if (game.level >= 2) pushAboveFirstPillar();
    if (game.level >= 2) updateCrushers();
    drawHelicopter();
    applyCourseEnds();
    if (game.landingActive != 0) landingApproach();
    if (game.manWaiting != 0) updateWaitingMan();
    if (game.scrollPos <= 2 && game.heliLanded != 0) updateUnloading();
    flyHelicopter();
    advanceRotor();
    updateSubmarineAndRocket();
    if (game.explosionActive != 0) updateExplosion();
    drawFigureIcons();
    pushAboveLauncher();
    drawEnergyBar();
    keepBackgroundSound();
    if (game.level >= 7 && flyOutAfterWin() == winPictureShows) return winPictureShows;
    if (game.energy < 0 && fallAfterLoss() == failurePictureShows) return failurePictureShows;
    return frameGoesOn;
}
