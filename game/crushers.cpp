// Two crusher sites stand along the course. At each a bladed column slides up
// and down out of a stone pillar; both columns share one height, crusherY,
// which sinks slowly and shoots back up. Touching a column costs energy in
// every step of contact.

#include "game/crushers.h"

#include "game/game_state.h"
#include "game/hit_test.h"
#include "gfx/surfaces.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

struct SiteLayout {
    double anchor;        // the pictures are drawn at screen x scrollPos - anchor
    double pushFrom;      // the pillar lifts the helicopter while scrollPos
    double pushTo;        // lies in pushFrom..pushTo, ends included
    double heliBoxLeft;   // the helicopter's box starts this far right of heliX
    double columnAnchor;  // the column's box starts at scrollPos - columnAnchor
    int32_t columnWidth;
    int32_t columnHeight;
    double soundFrom;  // the slam sounds only while scrollPos lies
    double soundTo;    // strictly between these
};

// The second site's boxes differ from its picture: its column box begins 30
// pixels left of the drawn column and is 65 x 235, and the helicopter's box
// begins 10 pixels further left than at the first site. The game has always
// played this way.
constexpr SiteLayout firstSite{350, 500, 720, 20, 350, 64, 240, 100, 940};
constexpr SiteLayout secondSite{1070, 1220, 1440, 10, 1100, 65, 235, 1020, 1595};

const SiteLayout& layoutOf(CrusherSite site) {
    return site == CrusherSite::first ? firstSite : secondSite;
}

// A column hit costs 1 energy at the third mission, 3 at the fourth and 4 from
// the fifth on.
void loseEnergyToCrusher() {
    if (game.level <= 2) {
        game.energy -= 1;
    } else if (game.level == 3) {
        game.energy -= 3;
    } else {
        game.energy -= 4;
    }
}

bool columnHitsHelicopter(const SiteLayout& layout) {
    return rectsOverlap(static_cast<int32_t>(game.heliX + layout.heliBoxLeft),
                        static_cast<int32_t>(game.heliY + 3), 220, 60,
                        static_cast<int32_t>(game.scrollPos - layout.columnAnchor),
                        static_cast<int32_t>(game.crusherY), layout.columnWidth,
                        layout.columnHeight) != 0;
}

}  // namespace

void pushAboveFirstPillar() {
    pushAbovePillar(CrusherSite::first);
}

// At the fourth mission the second site joins, and the shared column then
// moves two steps per frame: the crushers work twice as fast.
void updateCrushers() {
    if (game.level >= 3) {
        pushAbovePillar(CrusherSite::second);
        drawCrusherSite(CrusherSite::second);
        crusherStep(CrusherSite::second);
    }
    drawCrusherSite(CrusherSite::first);
    crusherStep(CrusherSite::first);
}

// With the helicopter held near x 200 this is the stretch in which the pillar
// lies under it: a low helicopter is lifted 10 pixels, so it cannot sink much
// below y 300 over the pillar.
void pushAbovePillar(CrusherSite site) {
    const SiteLayout& layout = layoutOf(site);
    if (game.heliY >= 300 && game.scrollPos >= layout.pushFrom && game.scrollPos <= layout.pushTo) {
        game.heliY -= 10;
    }
}

void drawCrusherSite(CrusherSite site) {
    const SiteLayout& layout = layoutOf(site);
    const double u = layout.anchor - game.scrollPos;
    const int32_t columnY = static_cast<int32_t>(game.crusherY);
    if (0 <= u && u <= 64) {
        // Entering or leaving at the left edge: only the columns of the
        // pictures right of the edge show, and nothing is tested.
        drawKeyed(surfCrusher, {static_cast<int32_t>(u), 0, 64, 240}, 0, columnY);
        drawKeyed(surfPillar, {static_cast<int32_t>(u), 0, 64, 128}, 0, 352);
    } else if (game.scrollPos - layout.anchor < 576) {
        // Wholly on the screen (or still far off to the left, where nothing
        // shows and the boxes lie too far apart to meet).
        const int32_t x = static_cast<int32_t>(game.scrollPos - layout.anchor);
        drawKeyed(surfCrusher, {0, 0, 64, 240}, x, columnY);
        drawKeyed(surfPillar, {0, 0, 64, 128}, x, 352);
        if (columnHitsHelicopter(layout)) {
            playSound(sndMetalHit, 0);
            loseEnergyToCrusher();
        }
    } else {
        // Leaving at the right edge: the pictures are cut to what still fits,
        // and nothing is tested.
        const int32_t r = static_cast<int32_t>(64 - (game.scrollPos - layout.anchor - 576));
        const int32_t x = static_cast<int32_t>(game.scrollPos - layout.anchor);
        drawKeyed(surfCrusher, {0, 0, r, 240}, x, columnY);
        drawKeyed(surfPillar, {0, 0, r, 128}, x, 352);
    }
}

// The columns shoot up 4.5 a step until they are above y 70, then sink 0.7 a
// step until they pass 220, where they slam and turn. The site only chooses
// the stretch of the course in which the slam can be heard.
void crusherStep(CrusherSite site) {
    const SiteLayout& layout = layoutOf(site);
    if (game.crusherRising != 0) {
        game.crusherY -= 4.5;
        if (game.crusherY < 70) {
            game.crusherRising = 0;
        }
    }
    // A column that has just reached the top starts sinking in the same step.
    if (game.crusherRising != 1) {
        game.crusherY += 0.7;
        if (game.crusherY > 220) {
            if (game.scrollPos > layout.soundFrom && game.scrollPos < layout.soundTo) {
                playSound(sndCrusherSlam, 0);
            }
            game.crusherRising = 1;
        }
    }
}
