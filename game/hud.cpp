// The heads-up display and the end of a game in the game world: a climb off
// the top, or a fall and a crash. The full-screen pictures that follow are in
// end_pictures.cpp.

#include "game/hud.h"

#include "game/end_pictures.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/platform.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

constexpr int32_t iconCount = 7;
constexpr Rect explosionSource{0, 0, 96, 96};

// The crashed helicopter explodes on the ground, one step per frame. It shares
// its counters with the explosion of a rocket hit, so if both run in one frame
// both advance them.
void advanceCrashExplosion() {
    playSound(sndExplosion, 0);
    drawKeyed(surfExplosion[game.explosionFrame], explosionSource,
              static_cast<int32_t>(game.heliX + 40), static_cast<int32_t>(game.heliY - 26));
    game.explosionDelay += 1;
    if (game.explosionDelay > 5) {
        game.explosionDelay = 0;
        game.explosionFrame += 1;
    }
    if (game.explosionFrame > 8) {
        game.explosionFrame = 0;
        game.crashExplosionPending = 0;
    }
}

}  // namespace

void drawFigureIcons() {
    for (int32_t i = 1; i <= iconCount; ++i) {
        Surface* icon = game.rescuedCount >= i ? surfManLit : surfManDim;
        drawKeyed(icon, {0, 0, 32, 48}, 380 + 35 * (i - 1), 1);
    }
}

// The fill is drawn over the empty bar with a source as wide as the energy, so
// at 0 or below only the empty bar shows.
void drawEnergyBar() {
    drawKeyed(surfBarFrame, {0, 0, 352, 24}, 10, 5);
    drawKeyed(surfBarFill, {0, 0, game.energy, 24}, 10, 5);
}

// Runs every frame, so the loop starts again in the first frame after anything
// has stopped it.
void keepBackgroundSound() {
    playSound(sndRotorLoop, platform::DSBPLAY_LOOPING);
}

// The speeds are held at 0 every frame, so the keys can only nudge the climb
// by one step's change. The view keeps scrolling by 2 a frame.
int32_t flyOutAfterWin() {
    game.velX = 0;
    game.velY = 0;
    game.heliY -= 2;
    game.scrollPos += 2;
    if (game.heliY <= 0) {
        beginEndPicture(EndPicture::Win);
        return winPictureShows;
    }
    return frameGoesOn;
}

// The helicopter sinks 2 pixels a frame to the ground, explodes there for 54
// frames, and then the failure picture shows.
int32_t fallAfterLoss() {
    game.velX = 0;
    game.velY = 0;
    game.heliY += 2;
    game.scrollPos += 2;
    if (game.heliY >= 410) {
        game.heliY = 410;
        if (game.crashExplosionPending == 0) {
            beginEndPicture(EndPicture::Failure);
            return failurePictureShows;
        }
        advanceCrashExplosion();
    }
    return frameGoesOn;
}
