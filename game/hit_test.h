#pragma once
// The one hit test of the game: helicopter against orbs, crushers and the
// rocket.

#include <cstdint>

// 1 when the two boxes overlap. Each box is shrunk to about three quarters of
// its width and height about its top-left corner before the test, so near
// misses at the edges of the pictures do not count.
int32_t rectsOverlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2,
                     int32_t w2, int32_t h2);
