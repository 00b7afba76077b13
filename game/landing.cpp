// A mission is one rescue: fly to the far end, land, let the pacing man walk
// aboard, fly back, land at the base and let him walk into it. Once the
// landing key has started a landing the player has no control until the man
// has boarded or has arrived at the base.

#include "game/landing.h"

#include <cstdint>

#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

constexpr Rect walkerSource{0, 0, 24, 32};
constexpr int32_t walkerTop = 440;
constexpr double landedTop = 400;

// The landed helicopter's left edge: x 230 at the base, x 30 at the far end.
double landingTarget() {
    return game.scrollPos <= 2 ? 230 : 30;
}

// The man's screen x at the far end, from his offset there.
double walkerScreenX() {
    return game.scrollPos - 1900 + game.walkerX;
}

// A new picture every 30 steps; at 91 and more no picture fits and the man
// is not drawn in that step. Walking left uses the pictures 4 to 6.
void drawWalker(int32_t firstFrame, double x) {
    int32_t frame = 0;
    if (game.walkerStep < 30) {
        frame = 0;
    } else if (game.walkerStep < 60) {
        frame = 1;
    } else if (game.walkerStep <= 90) {
        frame = 2;
    } else {
        return;
    }
    drawKeyed(surfWalker[firstFrame + frame], walkerSource, static_cast<int32_t>(x), walkerTop);
}

void resetWalkerStepAfterCycle() {
    if (game.walkerStep > 90) {
        game.walkerStep = 0;
    }
}

// The player has control again at once.
void pickUpMan() {
    game.landingActive = 0;
    game.manWaiting = 0;
    game.rescuedCount += 1;
    game.heliLanded = 0;
    game.carryingMan = 1;
    playSound(sndPickUp, 0);
}

// The closer the game is to its end, the less energy a completed mission
// gives back; a helicopter above 250 is filled up.
int32_t energyBonus(int32_t newLevel) {
    if (newLevel <= 1) {
        return 100;
    }
    if (newLevel == 2) {
        return 85;
    }
    if (newLevel <= 4) {
        return 70;
    }
    return 55;
}

// The next man waits at the far end at once, starting from where this one
// stopped and walking the way he last walked.
void completeMission() {
    playSound(sndMissionComplete, 0);
    game.level += 1;
    game.heliLanded = 0;
    game.landingActive = 0;
    game.manWaiting = 1;
    if (game.energy > 250) {
        game.energy = 352;
    } else {
        game.energy += energyBonus(game.level);
    }
}

void walkRight() {
    game.walkerStep += 1;
    game.walkerX += 0.3;
    if (game.heliLanded != 0) {
        // He hurries to a landed helicopter and turns back when he overshoots
        // its door.
        game.walkerStep += 2;
        game.walkerX += 0.5;
        if (game.heliX + 150 < walkerScreenX()) {
            game.walkerDir = 1;
        }
        if (game.heliX + 100 <= walkerScreenX() && walkerScreenX() <= game.heliX + 120) {
            pickUpMan();
        }
    }
    if (game.walkerX >= 500) {
        game.walkerX = 500;
        game.walkerDir = 1;
    }
    drawWalker(0, walkerScreenX());
    resetWalkerStepAfterCycle();
}

void walkLeft() {
    game.walkerStep += 1;
    game.walkerX -= 0.3;
    if (game.heliLanded != 0) {
        game.walkerStep += 2;
        game.walkerX -= 0.5;
        if (walkerScreenX() < game.heliX) {
            game.walkerDir = 0;
        }
        if (game.heliX + 100 <= walkerScreenX() && walkerScreenX() <= game.heliX + 120) {
            pickUpMan();
        }
    }
    if (game.walkerX <= 0) {
        game.walkerX = 0;
        game.walkerDir = 0;
    }
    drawWalker(4, walkerScreenX());
    resetWalkerStepAfterCycle();
}

}  // namespace

void landingApproach() {
    game.velX = 0;
    game.velY = 0;
    const double target = landingTarget();
    game.heliFacingLeft = 1;
    // Left at 1 pixel a step, right at 2, snapping onto the target when near.
    // A helicopter just above the target (less than 0.1 past it) first drops
    // below it and comes back up.
    if (game.heliX > target) {
        if (game.heliX > target + 2 || game.heliX < target + 0.1) {
            game.heliX -= 1;
        } else {
            game.heliX = target;
        }
    }
    if (game.heliX < target) {
        if (game.heliX == target - 1) {
            game.heliX = target;
        } else {
            game.heliX += 2;
        }
    }
    // It sets down only once it stands exactly over its landing place: a pixel
    // a step high up, half a pixel below y 350. Just above 399.9 it overshoots
    // and comes back up.
    if (game.heliX == target) {
        if (game.heliY < landedTop) {
            if (game.heliY < 398 || game.heliY > 399.9) {
                game.heliY += 0.5;
                if (game.heliY < 350) {
                    game.heliY += 0.5;
                }
            } else {
                game.heliY = landedTop;
            }
        }
        if (game.heliY > landedTop) {
            if (game.heliY == 401) {
                game.heliY = landedTop;
            } else {
                game.heliY -= 1;
            }
        }
    }
    if (game.heliX == target && game.heliY == landedTop) {
        game.heliLanded = 1;
    }
}

// He paces between offsets 0 and 500 at 0.3 a step. A man who turns in the
// first half walks the second half in the same step: he moves right and back,
// his counter advances twice and both pictures are drawn. He is updated at
// any scrollPos; away from the far end he simply lies off the screen.
void updateWaitingMan() {
    if (game.walkerDir != 1) {
        walkRight();
    }
    if (game.walkerDir != 0) {
        walkLeft();
    }
}

// The man steps out at the helicopter's door (x 360) and walks to x 455; the
// picture is chosen before his counter moves on by 2, so it runs 0, 2, ... 90,
// 92 (nothing drawn), 2, 4, ...
void updateUnloading() {
    if (game.carryingMan > 0) {
        game.walkerX = game.heliX + 130;
    }
    game.carryingMan = 0;
    game.walkerX += 0.3;
    if (game.walkerX >= 455) {
        completeMission();
        return;
    }
    drawWalker(0, game.walkerX);
    resetWalkerStepAfterCycle();
    game.walkerStep += 2;
}
