#pragma once
// The part of a picture that changed since the one shown before it, for a
// back end that hands the screen only that part: the title changes only in
// its scrolling panel, a paused game not at all, a flight mostly all over.

#include <cstdint>
#include <vector>

namespace platform {

// Rows [top, bottom) and columns [left, right); empty when top == bottom.
struct ChangedPart {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return top == bottom; }
};

// Compares `next` (width x height pixels, row after row) with `shown`, the
// picture shown last, and brings `shown` up to date, copying only the rows
// that changed. A `shown` of another size counts as wholly changed.
ChangedPart takeChangedPart(std::vector<uint16_t>& shown, const std::vector<uint16_t>& next,
                            int width, int height);

}  // namespace platform
