#include "game/hit_test.h"

#include <cstdlib>

namespace {

// Reduced half-extent of a box edge: half the size less an eighth.
int32_t reducedHalf(int32_t size) {
    return (size >> 1) - (size >> 3);
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
