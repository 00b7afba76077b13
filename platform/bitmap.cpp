// Bitmap resources: decoded by the game's own reader into RGB565 pictures,
// the same on every machine, then copied onto surfaces.

#include <algorithm>
#include <cstring>

#include "formats/bmp_decoder.h"
#include "platform/backend.h"

namespace platform {

Bitmap* loadBitmap(const Module* module, int resourceId) {
    backend().note("loadBitmap", resourceId);
    const Resource* resource = findResource(module, ResourceType::Bitmap, resourceId);
    if (resource == nullptr || backend().refuses("loadBitmap")) return nullptr;
    auto* bitmap = new Bitmap;
    if (!formats::decodeBmp(resource->bytes, *bitmap)) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}

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
