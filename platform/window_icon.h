#pragma once
// The window's icon, made once for every desktop and the browser's tab: the
// module's icon, a 24-bit bitmap drawn on pure green, the old way of marking
// what the desktop should show through.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace platform {

struct WindowIcon {
    int width = 0;
    int height = 0;
    // 0xAARRGGBB, top row first: fully transparent where the bitmap is pure
    // green, fully opaque everywhere else.
    std::vector<uint32_t> pixels;
};

// The icon in these bitmap bytes; false (and `icon` left alone) when they are
// no bitmap.
bool decodeWindowIcon(std::span<const uint8_t> bmpFile, WindowIcon& icon);

// The module's icon of that id; false when it has none or it is no bitmap.
bool loadWindowIcon(const Module* module, int iconId, WindowIcon& icon);

}  // namespace platform
