#pragma once
// The missile launcher, its three orb missiles, and the game's hit test.

#include <cstdint>

// 1 when the two boxes overlap. Each box is shrunk to about three quarters of
// its width and height about its top-left corner before the test, so near
// misses at the edges of the pictures do not count.
int32_t rectsOverlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2,
                     int32_t w2, int32_t h2);

// Phase 2: the launcher's head follows scrollPos and releases orb 1.
void updateLauncher();
// Phase 3: orb 1 rises straight up (wobbling from the second mission on).
void updateOrb1();
// Phase 4: orb 2 is released and rises to the right.
void updateOrb2();
// Phase 5: orb 3 is released and rises to the left.
void updateOrb3();
// Phase 18: the helicopter cannot sink onto the launcher.
void pushAboveLauncher();
