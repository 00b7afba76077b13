#pragma once
// Bitmap files decoded without SDL, for the WebAssembly build, which has no
// SDL. It reads what the desktop's decoder reads for every picture the game
// carries: uncompressed bitmaps of 1, 4, 8, 24 or 32 bits per pixel, bottom-up
// or top-down, and turns them into exactly the same RGB565 pixels.

#include <cstdint>
#include <span>

#include "platform/platform.h"

namespace platform::web {

// Fills `bitmap` with the picture, top row first; false (and `bitmap` left
// alone) when the bytes are not such a bitmap, promise more pixels than they
// hold, or make a picture larger than any surface.
bool decodeBmp(std::span<const uint8_t> file, Bitmap& bitmap);

}  // namespace platform::web
