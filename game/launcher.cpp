// The launcher stands about one screen width from the base (anchor 700: its
// left edge is at screen x scrollPos - 700). Its head points right, straight
// up or left depending on how far the view has travelled, and each direction
// releases its own orb. An orb is not destroyed by a hit: it costs energy in
// every frame it overlaps the helicopter.

#include "game/launcher.h"

#include <cmath>
#include <cstdlib>

#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

constexpr Rect orbSource{0, 0, 32, 32};

// Reduced half-extent of a box edge: half the size less an eighth.
int32_t reducedHalf(int32_t size) {
    return (size >> 1) - (size >> 3);
}

// Orbs 2 and 3 cost 2 energy per frame of contact up to the third mission,
// then 3, and 4 from the fifth.
void loseEnergyToSideOrb() {
    if (game.level <= 2) {
        game.energy -= 2;
    } else {
        game.energy -= 3;
        if (game.level > 3) {
            game.energy -= 1;
        }
    }
}

// Orbs 2 and 3 test against the helicopter's whole picture, 240 x 64.
bool sideOrbHitsHelicopter(double orbX, double orbY) {
    return rectsOverlap(static_cast<int32_t>(game.heliX), static_cast<int32_t>(game.heliY), 240, 64,
                        static_cast<int32_t>(orbX), static_cast<int32_t>(orbY), 32, 32) != 0;
}

// From the fifth mission orb 2's wobble radius swings between 19 and 51.
void swingOrb2Radius() {
    if (game.orb2RadiusGrowing == 1) {
        game.orb2Radius += 1;
        if (game.orb2Radius > 50) {
            game.orb2RadiusGrowing = 0;
        }
    } else {
        game.orb2Radius -= 1;
        if (game.orb2Radius < 20) {
            game.orb2RadiusGrowing = 1;
        }
    }
}

}  // namespace

int32_t rectsOverlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2,
                     int32_t w2, int32_t h2) {
    const int32_t a1 = reducedHalf(w1);
    const int32_t b1 = reducedHalf(h1);
    const int32_t a2 = reducedHalf(w2);
    const int32_t b2 = reducedHalf(h2);
    // The reference points are the corners plus the reduced half-extents; the
    // distances are taken in 64 bits so far-apart boxes cannot overflow.
    const int64_t cx1 = static_cast<int64_t>(x1) + a1;
    const int64_t cy1 = static_cast<int64_t>(y1) + b1;
    const int64_t cx2 = static_cast<int64_t>(x2) + a2;
    const int64_t cy2 = static_cast<int64_t>(y2) + b2;
    const int64_t reachX = static_cast<int64_t>(a1) + a2;
    const int64_t reachY = static_cast<int64_t>(b1) + b2;
    return (std::llabs(cx2 - cx1) < reachX && std::llabs(cy2 - cy1) < reachY) ? 1 : 0;
}

void updateLauncher() {
    const double s = game.scrollPos;
    if (s <= 700) {
        // Head to the right. Only the launcher's right part shows at the left
        // edge of the screen, and below 572 its source is inverted and nothing
        // shows. Orb 2 is released in its own phase.
        game.launcherState = 0;
        drawKeyed(surfLauncher[0], {static_cast<int32_t>(128 - (s - 572)), 0, 128, 128}, 0, 350);
        return;
    }
    game.launcherState = (s > 1150) ? 1 : 2;
    if (game.launcherState == 2 && game.orb1Active != 1) {
        game.orb1X = s - 650;
        game.orb1Y = 345;
        game.orb1Active = 1;
        playSound(sndOrbLaunch, 0);
    }
    // Past 1212 the launcher is cut at the right edge of the screen, and from
    // 1340 on nothing of it is left.
    const int32_t right = (s - 700 - 512 <= 0) ? 128 : static_cast<int32_t>(128 - (s - 1212));
    drawKeyed(surfLauncher[game.launcherState], {0, 0, right, 128}, static_cast<int32_t>(s - 700),
              350);
}

void updateOrb1() {
    if (game.level <= 0) {
        game.orb1DrawX = game.orb1X;
        game.orb1DrawY = game.orb1Y;
    } else {
        // The wobble's phase counter goes to sine and cosine unconverted, so
        // the orb circles in radians: a step of 2 makes it jump about the path
        // rather than turn smoothly.
        game.orb1DrawX =
            static_cast<int32_t>(std::cos(game.orb1Angle) * game.orb1Radius + game.orb1X);
        game.orb1DrawY =
            static_cast<int32_t>(std::sin(game.orb1Angle) * game.orb1Radius + game.orb1Y);
        game.orb1Angle += 2;
        game.orb1Y -= 1;
        if (game.level > 1) {
            game.orb1Y -= 1;
        }
        if (game.orb1Angle > 360) {
            game.orb1Angle = 0;
        }
    }
    drawKeyed(surfOrbA, orbSource, static_cast<int32_t>(game.orb1DrawX),
              static_cast<int32_t>(game.orb1DrawY));
    // Every orb keeps its place in the landscape as the view scrolls.
    game.orb1X += game.velX;
    game.orb1Y -= 2;
    // Orb 1 is tested where it was drawn, against the helicopter's body.
    if (rectsOverlap(static_cast<int32_t>(game.heliX + 10), static_cast<int32_t>(game.heliY), 230,
                     60, static_cast<int32_t>(game.orb1DrawX), static_cast<int32_t>(game.orb1DrawY),
                     32, 32) != 0) {
        playSound(sndMetalHit, 0);
        if (game.level <= 1) {
            game.energy -= 2;
        } else {
            game.energy -= 3;
            if (game.level > 2) {
                game.energy -= 1;
            }
        }
    }
    if (game.orb1Y < -33) {
        game.orb1Active = 0;
    }
}

void updateOrb2() {
    if (game.level >= 1 && game.launcherState == 0 && game.orb2Active != 1) {
        game.orb2X = game.scrollPos - 635;
        game.orb2Y = 350;
        game.orb2Active = 1;
        playSound(sndOrbLaunch, 0);
    }
    if (game.orb2Active != 1) {
        return;
    }
    game.orb2X += 1;
    game.orb2Y -= 1;
    if (game.level > 2) {
        game.orb2X += 1;
        game.orb2Y -= 1;
    }
    if (game.level > 3) {
        game.orb2X += 1;
        game.orb2Y -= 1;
    }
    if (game.level > 2) {
        game.orb2DrawX =
            static_cast<int32_t>(std::cos(game.orb2Angle) * game.orb2Radius + game.orb2X);
        game.orb2DrawY =
            static_cast<int32_t>(std::sin(game.orb2Angle) * game.orb2Radius + game.orb2Y);
        game.orb2Angle += 1;
        if (game.orb2Angle > 360) {
            game.orb2Angle = 0;
        }
        if (game.level > 3) {
            swingOrb2Radius();
        }
    } else {
        game.orb2DrawX = game.orb2X;
        game.orb2DrawY = game.orb2Y;
    }
    drawKeyed(surfOrbB, orbSource, static_cast<int32_t>(game.orb2DrawX),
              static_cast<int32_t>(game.orb2DrawY));
    // An orb leaving the top still moves and hits in the frame it is removed.
    if (game.orb2Y <= -33) {
        game.orb2Active = 0;
    }
    game.orb2X += game.velX;
    // Orb 2 is tested on its path, not where its wobble draws it: the picture
    // can be up to 51 pixels away from the box that hurts.
    if (sideOrbHitsHelicopter(game.orb2X, game.orb2Y)) {
        playSound(sndMetalHit, 0);
        loseEnergyToSideOrb();
    }
}

void updateOrb3() {
    if (game.level >= 1 && game.launcherState == 1 && game.orb3Active != 1) {
        game.orb3X = game.scrollPos - 653;
        game.orb3Y = 357;
        game.orb3Active = 1;
        playSound(sndOrbLaunch, 0);
    }
    if (game.orb3Active != 1) {
        return;
    }
    game.orb3X -= 1;
    game.orb3Y -= 1;
    if (game.level > 1) {
        game.orb3X -= 1;
        game.orb3Y -= 1;
    }
    if (game.level > 2) {
        game.orb3X -= 1;
        game.orb3Y -= 1;
    }
    drawKeyed(surfOrbB, orbSource, static_cast<int32_t>(game.orb3X),
              static_cast<int32_t>(game.orb3Y));
    if (game.orb3Y <= -33) {
        game.orb3Active = 0;
    }
    game.orb3X += game.velX;
    if (sideOrbHitsHelicopter(game.orb3X, game.orb3Y)) {
        playSound(sndMetalHit, 0);
        loseEnergyToSideOrb();
    }
}

// While the launcher lies under the helicopter, a low helicopter is lifted
// 10 pixels a frame, at every level.
void pushAboveLauncher() {
    const double s = game.scrollPos;
    if (game.heliY > 330 && 860 < s && s < 1080) {
        game.heliY -= 10;
    }
}
