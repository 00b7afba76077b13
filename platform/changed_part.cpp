#include "platform/changed_part.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// Four pixels at a time: a 640-pixel row is 160 words, and most rows of a
// still or scrolling screen are the same as before all along.
constexpr int wordPixels = 4;

uint64_t word(const uint16_t* pixels) {
    uint64_t value;
    std::memcpy(&value, pixels, sizeof value);
    return value;
}

// Each row is looked at whole, with no early way out, so that the compiler
// runs it as vectors.
bool sameRow(const uint16_t* a, const uint16_t* b, int width) {
    uint64_t difference = 0;
    int x = 0;
    for (; x + wordPixels <= width; x += wordPixels) difference |= word(a + x) ^ word(b + x);
    for (; x < width; ++x) difference |= static_cast<uint16_t>(a[x] ^ b[x]);
    return difference == 0;
}

// The first column from the left where the rows differ, looking no further
// than `limit` (the leftmost change found so far).
int firstDifference(const uint16_t* a, const uint16_t* b, int limit) {
    int x = 0;
    while (x + wordPixels <= limit && word(a + x) == word(b + x)) x += wordPixels;
    while (x < limit && a[x] == b[x]) ++x;
    return x;
}

// One past the last column where the rows differ, looking no further left
// than `limit` (the rightmost change found so far).
int lastDifference(const uint16_t* a, const uint16_t* b, int width, int limit) {
    int x = width;
    while (x - wordPixels >= limit && word(a + x - wordPixels) == word(b + x - wordPixels)) {
        x -= wordPixels;
    }
    while (x > limit && a[x - 1] == b[x - 1]) --x;
    return x;
}

}  // namespace

ChangedPart takeChangedPart(std::vector<uint16_t>& shown, const std::vector<uint16_t>& next,
                            int width, int height) {
    if (shown.size() != next.size()) {
        shown = next;
        return {0, 0, width, height};
    }
    ChangedPart changed{width, 0, 0, 0};
    for (int y = 0; y < height; ++y) {
        uint16_t* a = shown.data() + static_cast<size_t>(y) * width;
        const uint16_t* b = next.data() + static_cast<size_t>(y) * width;
        if (sameRow(a, b, width)) continue;
        if (changed.empty()) changed.top = y;
        changed.bottom = y + 1;
        changed.left = firstDifference(a, b, changed.left);
        changed.right = lastDifference(a, b, width, changed.right);
        std::copy(b, b + width, a);
    }
    if (changed.empty()) return {};
    return changed;
}

}  // namespace platform
