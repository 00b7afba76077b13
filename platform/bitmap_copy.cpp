// A decoded bitmap into a surface, and away; the same whoever decoded it.

#include <algorithm>
#include <cstring>

#include "platform/backend.h"

namespace platform {

void copyBitmap(const Bitmap* bitmap, Surface* target) {
    if (bitmap == nullptr || target == nullptr) return;
    const int width = std::min(bitmap->width, target->width);
    const int height = std::min(bitmap->height, target->height);
    for (int row = 0; row < height; ++row) {
        std::memcpy(&target->pixels[static_cast<size_t>(row) * target->width],
                    &bitmap->pixels[static_cast<size_t>(row) * bitmap->width],
                    static_cast<size_t>(width) * sizeof(uint16_t));
    }
    if (target->keyed) mapKeyColumns(*target);
}

void deleteBitmap(Bitmap* bitmap) {
    delete bitmap;
}

}  // namespace platform
