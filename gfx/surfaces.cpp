// The catalogue of every picture, its loading and keying, and drawKeyed.

#include "gfx/surfaces.h"

#include <array>

#include "gfx/bitmap_loader.h"
#include "gfx/display.h"
#include "platform/startup_state.h"

Surface* surfSubmarine = nullptr;
Surface* surfRocket = nullptr;
Surface* surfExplosion[9] = {};
Surface* surfMoon = nullptr;
Surface* surfWinScreen = nullptr;
Surface* surfGameOverScreen = nullptr;
Surface* surfTitle = nullptr;
Surface* surfLoading = nullptr;
Surface* surfCredits = nullptr;
Surface* surfCrusher = nullptr;
Surface* surfPillar = nullptr;
Surface* surfWalker[7] = {};
Surface* surfBarFill = nullptr;
Surface* surfBarFrame = nullptr;
Surface* surfManLit = nullptr;
Surface* surfManDim = nullptr;
Surface* surfTerrain[4] = {};
Surface* surfSkyA = nullptr;
Surface* surfSkyB = nullptr;
Surface* surfHeliLeft[5] = {};
Surface* surfHeliRight[5] = {};
Surface* surfLauncher[3] = {};
Surface* surfOrbA = nullptr;
Surface* surfOrbB = nullptr;

namespace {

// Load order. The explosion frames and the left-facing helicopter frames do
// not come in id order; the orb picture is loaded twice, into two surfaces.
const std::array<SurfaceEntry, 51> catalogue{{
    {&surfSubmarine, "surfSubmarine", 167},
    {&surfRocket, "surfRocket", 169},
    {&surfExplosion[0], "surfExplosion[0]", 165},
    {&surfExplosion[1], "surfExplosion[1]", 158},
    {&surfExplosion[2], "surfExplosion[2]", 159},
    {&surfExplosion[3], "surfExplosion[3]", 160},
    {&surfExplosion[4], "surfExplosion[4]", 161},
    {&surfExplosion[5], "surfExplosion[5]", 162},
    {&surfExplosion[6], "surfExplosion[6]", 163},
    {&surfExplosion[7], "surfExplosion[7]", 164},
    {&surfExplosion[8], "surfExplosion[8]", 157},
    {&surfMoon, "surfMoon", 156},
    {&surfWinScreen, "surfWinScreen", 155},
    {&surfGameOverScreen, "surfGameOverScreen", 154},
    {&surfTitle, "surfTitle", 151},
    {&surfLoading, "surfLoading", 152},
    {&surfCredits, "surfCredits", 153},
    {&surfCrusher, "surfCrusher", 104},
    {&surfPillar, "surfPillar", 150},
    {&surfWalker[0], "surfWalker[0]", 108},
    {&surfWalker[1], "surfWalker[1]", 109},
    {&surfWalker[2], "surfWalker[2]", 110},
    {&surfWalker[3], "surfWalker[3]", 111},
    {&surfWalker[4], "surfWalker[4]", 112},
    {&surfWalker[5], "surfWalker[5]", 113},
    {&surfWalker[6], "surfWalker[6]", 114},
    {&surfBarFill, "surfBarFill", 103},
    {&surfBarFrame, "surfBarFrame", 122},
    {&surfManLit, "surfManLit", 120},
    {&surfManDim, "surfManDim", 121},
    {&surfTerrain[0], "surfTerrain[0]", 137},
    {&surfTerrain[1], "surfTerrain[1]", 105},
    {&surfTerrain[2], "surfTerrain[2]", 106},
    {&surfTerrain[3], "surfTerrain[3]", 107},
    {&surfSkyA, "surfSkyA", 118},
    {&surfSkyB, "surfSkyB", 117},
    {&surfHeliLeft[0], "surfHeliLeft[0]", 136},
    {&surfHeliLeft[1], "surfHeliLeft[1]", 123},
    {&surfHeliLeft[2], "surfHeliLeft[2]", 125},
    {&surfHeliLeft[3], "surfHeliLeft[3]", 126},
    {&surfHeliLeft[4], "surfHeliLeft[4]", 127},
    {&surfHeliRight[0], "surfHeliRight[0]", 128},
    {&surfHeliRight[1], "surfHeliRight[1]", 129},
    {&surfHeliRight[2], "surfHeliRight[2]", 130},
    {&surfHeliRight[3], "surfHeliRight[3]", 131},
    {&surfHeliRight[4], "surfHeliRight[4]", 132},
    {&surfLauncher[0], "surfLauncher[0]", 135},
    {&surfLauncher[1], "surfLauncher[1]", 134},
    {&surfLauncher[2], "surfLauncher[2]", 133},
    {&surfOrbA, "surfOrbA", 124},
    {&surfOrbB, "surfOrbB", 124},
}};

DrawObserver drawObserver = nullptr;

void releaseOne(Surface*& surface) {
    if (surface == nullptr) return;
    platform::release(surface);
    surface = nullptr;
}

}  // namespace

std::span<const SurfaceEntry> surfaceCatalogue() {
    return catalogue;
}

const char* surfaceName(const Surface* surface) {
    if (surface == nullptr) return "?";
    for (const SurfaceEntry& entry : catalogue) {
        if (*entry.slot == surface) return entry.name;
    }
    return "?";
}

int loadSurfaces() {
    for (const SurfaceEntry& entry : catalogue) {
        *entry.slot = loadBitmapSurface(entry.bitmapId);
        if (*entry.slot == nullptr) {
            errorMessage = "Error Loading Image";
            return 0;
        }
    }
    // Pure green is transparent in every picture, full-screen ones included.
    const uint32_t colorKey = platform::getPixelFormat(primarySurface).greenMask;
    for (const SurfaceEntry& entry : catalogue) platform::setColorKey(*entry.slot, colorKey);
    return 1;
}

void releaseSurfaces() {
    for (int i = 0; i < 4; ++i) releaseOne(surfTerrain[i]);
    releaseOne(surfSkyA);
    releaseOne(surfSkyB);
    for (int i = 0; i < 5; ++i) {
        releaseOne(surfHeliLeft[i]);
        releaseOne(surfHeliRight[i]);
    }
    for (int i = 0; i < 3; ++i) releaseOne(surfLauncher[i]);
    releaseOne(surfOrbA);
    releaseOne(surfOrbB);
    releaseOne(surfManLit);
    releaseOne(surfManDim);
    releaseOne(surfBarFill);
    releaseOne(surfBarFrame);
    for (int i = 0; i < 7; ++i) releaseOne(surfWalker[i]);
    releaseOne(surfCrusher);
    releaseOne(surfPillar);
    releaseOne(surfTitle);
    releaseOne(surfLoading);
    releaseOne(surfCredits);
    releaseOne(surfGameOverScreen);
    releaseOne(surfWinScreen);
    releaseOne(surfMoon);
    for (int i = 0; i < 9; ++i) releaseOne(surfExplosion[i]);
    releaseOne(surfSubmarine);
    releaseOne(surfRocket);
}

void drawKeyed(Surface* source, const Rect& sourceRect, int x, int y) {
    if (drawObserver != nullptr) drawObserver(source, sourceRect, x, y);
    platform::bltFast(backBuffer, x, y, source, sourceRect);
}

void drawOpening(Surface* surface, int r) {
    drawKeyed(surface, Rect{320 - r, 0, 320 + r, 2 * r - 160}, 320 - r, 320 - r);
}

void setDrawObserver(DrawObserver observer) {
    drawObserver = observer;
}
