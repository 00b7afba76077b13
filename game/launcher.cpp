// The launcher stands about one screen width from the base (anchor 700: its
// left edge is at screen x scrollPos - 700). Its head points right, straight
// up or left depending on how far the view has travelled, and each direction
// releases its own orb. An orb is not destroyed by a hit: it costs energy in
// every frame it overlaps the helicopter.

#include "game/launcher.h"

#include <cmath>

#include "game/game_state.h"
#include "game/hit_test.h"
#include "gfx/surfaces.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

constexpr Rect orbSource{0, 0, 32, 32};

// Every frame of contact costs 2 energy, 3 from level `dearerFrom` and 4
// above it.
void orbHitsHelicopter(int32_t dearerFrom) {
    playSound(sndMetalHit, 0);
    if (game.level < dearerFrom) {
        game.energy -= 2;
    } else {
        game.energy -= 3;
        if (game.level > dearerFrom) {
            game.energy -= 1;
        }
    }
}

// Orb 1 costs more from level 2 on, the side orbs from level 3 on.
constexpr int32_t orb1DearerFrom = 2;
constexpr int32_t sideOrbDearerFrom = 3;

// Orbs 2 and 3 differ only in the head direction that releases them, where
// they start and which way they rise; both climb one pixel a step more above
// level `fasterAbove` and one more above the level after it.
struct SideOrbPath {
    int32_t releasedBy;    // launcher state
    double releaseOffset;  // starts at x = scrollPos - releaseOffset
    double releaseY;
    double stepX;  // +1 to the right, -1 to the left
    int32_t fasterAbove;
};
constexpr SideOrbPath orb2Path{0, 635, 350, 1, 2};
constexpr SideOrbPath orb3Path{1, 653, 357, -1, 1};

// Releases the orb from the first level on while its head points its way,
// and moves it on; false while it is not in flight.
bool riseSideOrb(const SideOrbPath& path, double& x, double& y, int32_t& active) {
    if (game.level >= 1 && game.launcherState == path.releasedBy && active != 1) {
        x = game.scrollPos - path.releaseOffset;
        y = path.releaseY;
        active = 1;
        playSound(sndOrbLaunch, 0);
    }
    if (active != 1) {
        return false;
    }
    const int32_t pixels =
        1 + (game.level > path.fasterAbove ? 1 : 0) + (game.level > path.fasterAbove + 1 ? 1 : 0);
    for (int32_t i = 0; i < pixels; ++i) {
        x += path.stepX;
        y -= 1;
    }
    return true;
}

// After the orb is drawn. An orb leaving the top still moves and hits in the
// frame it is removed. Side orbs are tested on their path against the
// helicopter's whole picture, 240 x 64.
void finishSideOrbFrame(double& x, double y, int32_t& active) {
    if (y <= -33) {
        active = 0;
    }
    x += game.velX;
    if (rectsOverlap(static_cast<int32_t>(game.heliX), static_cast<int32_t>(game.heliY), 240, 64,
                     static_cast<int32_t>(x), static_cast<int32_t>(y), 32, 32) != 0) {
        orbHitsHelicopter(sideOrbDearerFrom);
    }
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
        orbHitsHelicopter(orb1DearerFrom);
    }
    if (game.orb1Y < -33) {
        game.orb1Active = 0;
    }
}

void updateOrb2() {
    if (!riseSideOrb(orb2Path, game.orb2X, game.orb2Y, game.orb2Active)) {
        return;
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
    // Orb 2 hurts on its path, not where its wobble draws it: the picture can
    // be up to 51 pixels away from the box that hurts.
    drawKeyed(surfOrbB, orbSource, static_cast<int32_t>(game.orb2DrawX),
              static_cast<int32_t>(game.orb2DrawY));
    finishSideOrbFrame(game.orb2X, game.orb2Y, game.orb2Active);
}

void updateOrb3() {
    if (!riseSideOrb(orb3Path, game.orb3X, game.orb3Y, game.orb3Active)) {
        return;
    }
    drawKeyed(surfOrbB, orbSource, static_cast<int32_t>(game.orb3X),
              static_cast<int32_t>(game.orb3Y));
    finishSideOrbFrame(game.orb3X, game.orb3Y, game.orb3Active);
}

// While the launcher lies under the helicopter, a low helicopter is lifted
// 10 pixels a frame, at every level.
void pushAboveLauncher() {
    const double s = game.scrollPos;
    if (game.heliY > 330 && 860 < s && s < 1080) {
        game.heliY -= 10;
    }
}
