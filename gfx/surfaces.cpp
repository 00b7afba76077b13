// The catalogue of every picture, its loading and keying, and drawKeyed.

#include "gfx/surfaces.h"

#include <array>

#include "formats/resource_ids.h"
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
// The last column is the surface's place in the teardown, which goes by
// topic: the landscape and the helicopter first, the submarine's rocket last.
constexpr std::array<SurfaceEntry, 51> catalogue{{
    {&surfSubmarine, "surfSubmarine", resource::bmpSubmarine, 49},
    {&surfRocket, "surfRocket", resource::bmpRocket, 50},
    {&surfExplosion[0], "surfExplosion[0]", resource::bmpExplosion1, 40},
    {&surfExplosion[1], "surfExplosion[1]", resource::bmpExplosion2, 41},
    {&surfExplosion[2], "surfExplosion[2]", resource::bmpExplosion3, 42},
    {&surfExplosion[3], "surfExplosion[3]", resource::bmpExplosion4, 43},
    {&surfExplosion[4], "surfExplosion[4]", resource::bmpExplosion5, 44},
    {&surfExplosion[5], "surfExplosion[5]", resource::bmpExplosion6, 45},
    {&surfExplosion[6], "surfExplosion[6]", resource::bmpExplosion7, 46},
    {&surfExplosion[7], "surfExplosion[7]", resource::bmpExplosion8, 47},
    {&surfExplosion[8], "surfExplosion[8]", resource::bmpExplosion9, 48},
    {&surfMoon, "surfMoon", resource::bmpMoon, 39},
    {&surfWinScreen, "surfWinScreen", resource::bmpWin, 38},
    {&surfGameOverScreen, "surfGameOverScreen", resource::bmpGameOver, 37},
    {&surfTitle, "surfTitle", resource::bmpTitle, 34},
    {&surfLoading, "surfLoading", resource::bmpLoading, 35},
    {&surfCredits, "surfCredits", resource::bmpCredits, 36},
    {&surfCrusher, "surfCrusher", resource::bmpCrusher, 32},
    {&surfPillar, "surfPillar", resource::bmpPillar, 33},
    {&surfWalker[0], "surfWalker[0]", resource::bmpManRight1, 25},
    {&surfWalker[1], "surfWalker[1]", resource::bmpManRight2, 26},
    {&surfWalker[2], "surfWalker[2]", resource::bmpManRight3, 27},
    {&surfWalker[3], "surfWalker[3]", resource::bmpManFront, 28},
    {&surfWalker[4], "surfWalker[4]", resource::bmpManLeft1, 29},
    {&surfWalker[5], "surfWalker[5]", resource::bmpManLeft2, 30},
    {&surfWalker[6], "surfWalker[6]", resource::bmpManLeft3, 31},
    {&surfBarFill, "surfBarFill", resource::bmpBarFill, 23},
    {&surfBarFrame, "surfBarFrame", resource::bmpBarFrame, 24},
    {&surfManLit, "surfManLit", resource::bmpManLit, 21},
    {&surfManDim, "surfManDim", resource::bmpManDim, 22},
    {&surfTerrain[0], "surfTerrain[0]", resource::bmpTerrain0, 0},
    {&surfTerrain[1], "surfTerrain[1]", resource::bmpTerrain1, 1},
    {&surfTerrain[2], "surfTerrain[2]", resource::bmpTerrain2, 2},
    {&surfTerrain[3], "surfTerrain[3]", resource::bmpTerrain3, 3},
    {&surfSkyA, "surfSkyA", resource::bmpSkyRight, 4},
    {&surfSkyB, "surfSkyB", resource::bmpSkyLeft, 5},
    {&surfHeliLeft[0], "surfHeliLeft[0]", resource::bmpHeliLeft1, 6},
    {&surfHeliLeft[1], "surfHeliLeft[1]", resource::bmpHeliLeft2, 8},
    {&surfHeliLeft[2], "surfHeliLeft[2]", resource::bmpHeliLeft3, 10},
    {&surfHeliLeft[3], "surfHeliLeft[3]", resource::bmpHeliLeft4, 12},
    {&surfHeliLeft[4], "surfHeliLeft[4]", resource::bmpHeliLeft5, 14},
    {&surfHeliRight[0], "surfHeliRight[0]", resource::bmpHeliRight1, 7},
    {&surfHeliRight[1], "surfHeliRight[1]", resource::bmpHeliRight2, 9},
    {&surfHeliRight[2], "surfHeliRight[2]", resource::bmpHeliRight3, 11},
    {&surfHeliRight[3], "surfHeliRight[3]", resource::bmpHeliRight4, 13},
    {&surfHeliRight[4], "surfHeliRight[4]", resource::bmpHeliRight5, 15},
    {&surfLauncher[0], "surfLauncher[0]", resource::bmpLauncherRight, 16},
    {&surfLauncher[1], "surfLauncher[1]", resource::bmpLauncherLeft, 17},
    {&surfLauncher[2], "surfLauncher[2]", resource::bmpLauncherUp, 18},
    {&surfOrbA, "surfOrbA", resource::bmpOrb, 19},
    {&surfOrbB, "surfOrbB", resource::bmpOrb, 20},
}};

// The catalogue rows in teardown order; every surface has a place of its own.
constexpr std::array<const SurfaceEntry*, catalogue.size()> teardownOrder() {
    std::array<const SurfaceEntry*, catalogue.size()> order{};
    for (const SurfaceEntry& entry : catalogue) {
        const auto place = static_cast<size_t>(entry.releasePlace);
        if (place >= order.size() || order[place] != nullptr) return {};
        order[place] = &entry;
    }
    return order;
}
constexpr std::array<const SurfaceEntry*, catalogue.size()> releaseOrder = teardownOrder();
static_assert(releaseOrder.back() != nullptr, "each surface needs its own place in the teardown");

DrawObserver drawObserver = nullptr;

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
    for (const SurfaceEntry* entry : releaseOrder) {
        if (*entry->slot == nullptr) continue;
        platform::release(*entry->slot);
        *entry->slot = nullptr;
    }
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
