#pragma once
// The game's one reader of bitmap files, on every machine and in the build's
// check of a player's pictures: uncompressed bitmaps of 1, 4, 8, 24 or 32
// bits per pixel, bottom-up or top-down, turned into RGB565 pixels.

#include <cstdint>
#include <span>
#include <vector>

namespace formats {

// A picture in the display's RGB565 pixels, top row first: what the game's
// surfaces are made from.
struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint16_t> pixels;
};

// Fills `bitmap` with the picture, top row first; false (and `bitmap` left
// alone) when the bytes are not such a bitmap, say their pixels start inside
// the headers, promise more pixels than they hold, or make a picture larger
// than any surface.
bool decodeBmp(std::span<const uint8_t> file, Bitmap& bitmap);

// A picture kept in full colour, for a window's icon: 0xRRGGBB, top row first.
struct TrueColourPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};
// The same reading, with the same refusals, in full colour.
bool decodeBmp(std::span<const uint8_t> file, TrueColourPicture& picture);

}  // namespace formats
