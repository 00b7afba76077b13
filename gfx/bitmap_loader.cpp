// Turns a bitmap resource into a new off-screen surface of its size.

#include "gfx/bitmap_loader.h"

#include "gfx/display.h"
#include "platform/startup_state.h"

platform::Surface* loadBitmapSurface(int resourceId) {
    platform::Bitmap* bitmap = platform::loadBitmap(appInstance, resourceId & 0xFFFF);
    if (bitmap == nullptr) return nullptr;

    platform::Surface* surface = platform::createSurface(directDraw, bitmap->width, bitmap->height);
    if (surface == nullptr) {
        platform::deleteBitmap(bitmap);
        return nullptr;
    }
    platform::copyBitmap(bitmap, surface);
    platform::deleteBitmap(bitmap);
    return surface;
}
