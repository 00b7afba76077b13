#pragma once
// Every picture of the game, loaded once at start-up, and the one way of
// putting pictures on the screen.

#include <span>

#include "platform/platform.h"

using platform::Rect;
using platform::Surface;

extern Surface* surfSubmarine;
extern Surface* surfRocket;
extern Surface* surfExplosion[9];
extern Surface* surfMoon;
extern Surface* surfWinScreen;
extern Surface* surfGameOverScreen;
extern Surface* surfTitle;
extern Surface* surfLoading;
extern Surface* surfCredits;
extern Surface* surfCrusher;
extern Surface* surfPillar;
extern Surface* surfWalker[7];
extern Surface* surfBarFill;
extern Surface* surfBarFrame;
extern Surface* surfManLit;
extern Surface* surfManDim;
extern Surface* surfTerrain[4];
extern Surface* surfSkyA;
extern Surface* surfSkyB;
extern Surface* surfHeliLeft[5];
extern Surface* surfHeliRight[5];
extern Surface* surfLauncher[3];
extern Surface* surfOrbA;
extern Surface* surfOrbB;

// One row of the catalogue: where the surface lives, its name, its bitmap,
// and when the teardown releases it.
struct SurfaceEntry {
    Surface** slot;
    const char* name;  // "surfTerrain[0]", "surfMoon", ...
    int bitmapId;
    int releasePlace;  // 0 goes first
};

// The 51 surfaces in load order.
std::span<const SurfaceEntry> surfaceCatalogue();
// The catalogue name of a loaded surface, or "?" for any other.
const char* surfaceName(const Surface* surface);

// Loads and keys all 51 surfaces; 0 with "Error Loading Image" on the first
// failure, keeping the ones loaded so far for the teardown.
int loadSurfaces();
// Releases every loaded surface once, in teardown order.
void releaseSurfaces();

// A keyed copy of a source rectangle into the back buffer at (x, y). Draws
// nothing for an empty or inverted rectangle, one outside the source, or a
// destination not wholly on the screen: callers choose their rectangles.
void drawKeyed(Surface* source, const Rect& sourceRect, int x, int y);

// A full-screen picture opening as a box from the screen centre, half-width r,
// showing its top rows first; nothing while r is 80 or less.
void drawOpening(Surface* surface, int r);

// Tools may watch every drawKeyed call, whether it draws or not.
using DrawObserver = void (*)(const Surface* source, const Rect& sourceRect, int x, int y);
void setDrawObserver(DrawObserver observer);
