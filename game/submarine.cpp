// Near the base a submarine lies in the water (anchor 300: its left end is at
// screen x scrollPos - 300). At random times it surfaces, and while it is
// fully up with the helicopter roughly above it, it fires one rocket straight
// up (anchor 250, 50 pixels right of its left end).

#include "game/submarine.h"

#include <cstdint>

#include "game/game_state.h"
#include "game/hit_test.h"
#include "game/random.h"
#include "gfx/surfaces.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

constexpr int32_t waterLine = 460;
constexpr int32_t fullHeight = 28;

// Only the upper subHeight rows show, standing on the water line; the
// submarine is cut at whichever screen edge it crosses.
void drawSubmarine() {
    const double s = game.scrollPos;
    const int32_t top = waterLine - game.subHeight;
    if (s <= 300) {
        drawKeyed(surfSubmarine, {static_cast<int32_t>(300 - s), 0, 160, game.subHeight}, 0, top);
    } else {
        const int32_t right = (s - 300 <= 480) ? 160 : static_cast<int32_t>(940 - s);
        drawKeyed(surfSubmarine, {0, 0, right, game.subHeight}, static_cast<int32_t>(s - 300), top);
    }
}

// Down for 101 steps after a reset; then up for 121 to 170 steps and down for
// 201 to 300 steps in turn.
void advanceSubmarineTimer() {
    game.subTimer += 1;
    if (game.subTimer > 100) {
        if (game.subSurfacing == 1) {
            game.subSurfacing = 0;
            game.subTimer = -100 - (nextRandom() % 100);
        } else {
            game.subSurfacing = 1;
            game.subTimer = -20 - (nextRandom() % 50);
        }
    }
}

// The launch test looks at the submarine's left end, not its middle: it must
// lie between 100 pixels left and 200 pixels right of the helicopter's left
// edge. Only one rocket flies at a time.
bool helicopterInRange() {
    const double subLeft = game.scrollPos - 300;
    return game.heliX - 100 < subLeft && subLeft < game.heliX + 200;
}

void clearRocket() {
    game.rocketActive = 0;
    game.rocketY = 449;
    game.rocketSpeed = 0;
}

// The rocket emerges from the water (only the part above y 449 shows) and
// leaves through the top of the screen (only the part below y 0 shows).
void drawRocket() {
    const int32_t x = static_cast<int32_t>(game.scrollPos - 250);
    if (game.rocketY >= 0 && game.rocketY <= 389) {
        drawKeyed(surfRocket, {0, 0, 24, 60}, x, static_cast<int32_t>(game.rocketY));
    } else if (game.rocketY > 389) {
        drawKeyed(surfRocket, {0, 0, 24, static_cast<int32_t>(449 - game.rocketY)}, x,
                  static_cast<int32_t>(game.rocketY));
    } else if (game.rocketY < 0) {
        drawKeyed(surfRocket, {0, static_cast<int32_t>(-game.rocketY), 24, 60}, x, 0);
    }
}

}  // namespace

void updateSubmarineAndRocket() {
    updateSubmarine();
    // A rocket fired in this very step flies in it too.
    if (game.rocketActive != 0) {
        updateRocket();
    }
}

void updateSubmarine() {
    drawSubmarine();
    advanceSubmarineTimer();
    if (game.subSurfacing != 0) {
        game.subHeight += 1;
        if (game.subHeight > fullHeight) {
            game.subHeight = fullHeight;
        }
        if (game.subHeight == fullHeight && helicopterInRange() && game.rocketActive != 1) {
            playSound(sndRocketLaunch, 0);
            game.rocketActive = 1;
        }
    } else {
        game.subHeight -= 1;
        if (game.subHeight < 0) {
            game.subHeight = 0;
        }
    }
}

// It rises 0.7 a step out of the water, then accelerates by a further 0.05 a
// step every step. It keeps its place in the landscape, so a helicopter flying
// sideways can escape it.
void updateRocket() {
    drawRocket();
    game.rocketY -= 0.7;
    if (game.rocketY < 389) {
        game.rocketY -= game.rocketSpeed;
        game.rocketSpeed += 0.05;
    }
    if (game.rocketY < -60) {
        clearRocket();
    }
    // A rocket just cleared above is tested where it was put back, under the
    // water.
    if (rectsOverlap(static_cast<int32_t>(game.heliX + 10), static_cast<int32_t>(game.heliY), 230,
                     60, static_cast<int32_t>(game.scrollPos - 250),
                     static_cast<int32_t>(game.rocketY), 24, 60) != 0) {
        clearRocket();
        game.explosionActive = 1;
    }
}

// Each picture shows for 6 steps, and each change of picture costs 10 energy:
// 54 steps and 90 energy in all. The explosion follows the helicopter, drawn
// where this step's flight has taken it. A further hit does not restart it.
void updateExplosion() {
    playSound(sndExplosion, 0);
    drawKeyed(surfExplosion[game.explosionFrame], {0, 0, 96, 96},
              static_cast<int32_t>(game.heliX + 50), static_cast<int32_t>(game.heliY));
    game.explosionDelay += 1;
    if (game.explosionDelay > 5) {
        game.energy -= 10;
        game.explosionDelay = 0;
        game.explosionFrame += 1;
    }
    if (game.explosionFrame > 8) {
        game.explosionFrame = 0;
        game.explosionActive = 0;
    }
}
