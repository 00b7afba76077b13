// The backdrop: three layers that slide at different rates as the view
// travels along the course, a sky at a third of the scrolling rate, a moon at
// a fifteenth and the ground at the full rate.

#include "game/backdrop.h"

#include <cstdint>

#include "game/game_state.h"
#include "gfx/surfaces.h"

namespace {

constexpr int32_t groundTop = 288;
constexpr int32_t segmentWidth = 640;
constexpr int32_t segmentCount = 4;

// Two halves of a 1280-pixel panorama: the sky seen from the far end on the
// left, the sky seen from the base on the right. Its right edge stands at
// screen x 640 + s/3; each half is cut with its own truncation, so a
// fractional s can leave one column of the last frame showing.
void drawSky(double s) {
    drawKeyed(surfSkyA, {0, 0, static_cast<int32_t>(640 - s / 3), 352}, static_cast<int32_t>(s / 3),
              0);
    drawKeyed(surfSkyB, {static_cast<int32_t>(640 - s / 3), 0, 640, 352}, 0, 0);
}

// The moon rises to the right as the view travels out, from (20, 200) at the
// base to (148, 72) at the far end.
void drawMoon(double s) {
    drawKeyed(surfMoon, {0, 0, 160, 160}, static_cast<int32_t>(s / 15 + game.moonBaseX),
              static_cast<int32_t>(game.moonBaseY - s / 15));
}

// Ground segment k has its left edge at screen x s - 640k. A segment wholly
// past the right edge is skipped. One whose left edge is on the screen shows
// its left part; otherwise its right part shows at the left edge of the
// screen, and a segment still wholly off to the left gets an empty source
// that draws nothing.
void drawGroundSegment(double s, int32_t k) {
    const double anchor = static_cast<double>(segmentWidth) * k;
    if (s > static_cast<double>(segmentWidth) * (k + 1)) {
        return;
    }
    if (k == 0 || s > anchor) {
        drawKeyed(surfTerrain[k], {0, 0, static_cast<int32_t>(640 - (s - anchor)), 192},
                  static_cast<int32_t>(s - anchor), groundTop);
    } else {
        drawKeyed(surfTerrain[k], {static_cast<int32_t>(anchor - s), 0, 640, 192}, 0, groundTop);
    }
}

}  // namespace

// Nothing clears the back buffer: these layers alone cover it, and every
// later phase draws on top of them.
void drawBackdrop() {
    const double s = game.scrollPos;
    drawSky(s);
    drawMoon(s);
    for (int32_t k = 0; k < segmentCount; ++k) {
        drawGroundSegment(s, k);
    }
}
