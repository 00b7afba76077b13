// The heads-up display, the end of a game and the flip. A game ends first in
// the game world (a climb off the top, or a fall and a crash) and then with a
// full-screen picture that opens step by step and stays until Return.

#include "game/hud.h"

#include "app/devices.h"
#include "app/keyboard.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/platform.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

constexpr int32_t iconCount = 7;
constexpr Rect explosionSource{0, 0, 96, 96};

// The success picture opens from the screen centre like the title's loading
// picture, 3 pixels a pass on each side. Nothing shows for the first 27
// passes. The loop has no step timer and handles no window messages: the flip
// paces it, and only Return ends it.
int32_t showWinPicture() {
    int32_t k = 0;
    playSound(snd141, platform::DSBPLAY_LOOPING);
    for (;;) {
        stopLooping(snd142);
        pollKeyboard();
        drawOpening(surfWinScreen, k);
        platform::flip(primarySurface);
        if (isKeyDown(platform::DIK_RETURN)) {
            stopLooping(snd141);
            return 0;
        }
        k += 3;
        if (k > 320) {
            k = 320;
        }
    }
}

// The failure picture slides in from the bottom-right corner, its top-left
// part first, 5 pixels a pass.
int32_t showFailurePicture() {
    int32_t k = 0;
    playSound(snd148, platform::DSBPLAY_LOOPING);
    for (;;) {
        stopLooping(snd142);
        pollKeyboard();
        drawKeyed(surfGameOverScreen, {0, 0, 640 - (480 - k), k}, 480 - k, 480 - k);
        platform::flip(primarySurface);
        if (isKeyDown(platform::DIK_RETURN)) {
            stopLooping(snd148);
            return 0;
        }
        k += 5;
        if (k > 480) {
            k = 480;
        }
    }
}

// The crashed helicopter explodes on the ground, one step per frame. It shares
// its counters with the explosion of a rocket hit, so if both run in one frame
// both advance them.
void advanceCrashExplosion() {
    playSound(snd166, 0);
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
    playSound(snd142, platform::DSBPLAY_LOOPING);
}

// The speeds are held at 0 every frame, so the keys can only nudge the climb
// by one step's change. The view keeps scrolling by 2 a frame.
int32_t flyOutAfterWin() {
    game.velX = 0;
    game.velY = 0;
    game.heliY -= 2;
    game.scrollPos += 2;
    if (game.heliY <= 0) {
        return showWinPicture();
    }
    return 1;
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
            return showFailurePicture();
        }
        advanceCrashExplosion();
    }
    return 1;
}

int32_t showFrame() {
    platform::flip(primarySurface);
    return 1;
}
