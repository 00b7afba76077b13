// The keys only change the two speeds; everything that follows from them
// happens here. Along the course anything fixed in the landscape with anchor A
// is drawn at screen x scrollPos - A, so flying away from the base is flying
// to the left, and a positive velX is flight to the left.

#include "game/helicopter.h"

#include <cstdint>

#include "game/game_state.h"
#include "gfx/surfaces.h"

namespace {

constexpr Rect heliSource{0, 0, 240, 64};

// While landing the rotor slows down with the height: each band that holds
// heliY (both ends excluded) adds its amount to rotorDelay, and the rotor
// turns one picture whenever rotorDelay stood at 0 before an addition. The
// bands overlap between 299 and 300, where both add.
struct RotorBand {
    double above;
    double below;
    int32_t delay;
};
constexpr RotorBand rotorBands[] = {{270, 300, 9}, {299, 330, 7}, {329, 360, 5}, {359, 401, 4}};

void slowRotorWhileLanding() {
    for (const RotorBand& band : rotorBands) {
        if (game.heliY > band.above && game.heliY < band.below) {
            if (game.rotorDelay == 0) {
                game.rotorFrame += 1;
            }
            game.rotorDelay += band.delay;
        }
    }
    if (game.rotorDelay >= 20) {
        game.rotorDelay = 0;
    }
}

void updateFlight() {
    // The landscape moves only while the helicopter stands in this six-pixel
    // window about x 200.
    if (game.heliX >= 197 && game.heliX <= 202) {
        game.scrollPos += game.velX;
    }
    // Speeds under 3 decay, and the facing follows the speed; from 3 on the
    // helicopter keeps both.
    if (game.velX > -3 && game.velX < 0) {
        game.velX += 0.05;
        game.heliFacingLeft = 0;
    }
    if (game.velX > 0 && game.velX < 3) {
        game.velX -= 0.05;
        game.heliFacingLeft = 1;
    }
    game.heliY += game.velY;
    // A climb dies away, but a sinking helicopter keeps the speed it reached
    // until it meets the ground or the player climbs.
    if (game.velY < 0) {
        game.velY += 0.05;
    }
    // A leftward speed decays twice as fast as a rightward one.
    if (game.velX > 0 && game.velX < 3) {
        game.velX -= 0.05;
    }
}

// Within these bounds the 240 x 64 picture always lies wholly on the screen.
void clampFlight() {
    if (game.scrollPos <= 0) {
        game.scrollPos = 0;
    }
    if (game.scrollPos > 1920) {
        game.scrollPos = 1920;
    }
    if (game.heliY <= 0) {
        game.heliY = 1;
        game.velY = 0;
    }
    if (game.heliY >= 410) {
        game.heliY = 410;
        game.velY = 0;
    }
    // The horizontal speed is kept, so near the ends the helicopter pushes
    // against the edge every step.
    if (game.heliX <= 0) {
        game.heliX = 0;
    }
    if (game.heliX >= 400) {
        game.heliX = 400;
    }
}

}  // namespace

void drawHelicopter() {
    const int32_t x = static_cast<int32_t>(game.heliX);
    const int32_t y = static_cast<int32_t>(game.heliY);
    if (game.heliFacingLeft == 1) {
        drawKeyed(surfHeliLeft[game.rotorFrame], heliSource, x, y);
    }
    if (game.heliFacingLeft == 0) {
        drawKeyed(surfHeliRight[game.rotorFrame], heliSource, x, y);
    }
}

void applyCourseEnds() {
    // Near either end the landscape stops and the helicopter moves instead.
    if (game.scrollPos < 2 || game.scrollPos > 1900) {
        game.heliX -= game.velX;
    }
    // Between the ends a helicopter on the wrong side of 200 for its facing is
    // brought back to 200, so the landscape moves under it.
    if (game.scrollPos > 2 && game.scrollPos < 1730 && game.heliFacingLeft == 1 &&
        game.heliX < 200) {
        game.heliX = 200;
    }
    if (game.scrollPos > 300 && game.scrollPos < 2000 && game.heliFacingLeft == 0 &&
        game.heliX > 200) {
        game.heliX = 200;
    }
}

void flyHelicopter() {
    if (game.landingActive != 1) {
        updateFlight();
    }
    clampFlight();
}

void advanceRotor() {
    if (game.landingActive != 0) {
        slowRotorWhileLanding();
    } else {
        game.rotorFrame += 1;
    }
    if (game.rotorFrame >= 5) {
        game.rotorFrame = 0;
    }
}
