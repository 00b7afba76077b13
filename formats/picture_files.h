#pragma once
// Pictures written as files: the 24-bit BMP the game's own pictures are, for
// the trace tool's frames and the asset generator, and PNG for screenshots,
// the contact sheet and the desktop icons. Plain code on every machine, no
// image library: the same picture gives the same bytes everywhere.

#include <cstdint>
#include <span>
#include <vector>

namespace formats {

// RGB565 pixels as 8-bit R, G, B samples, rows top to bottom, each
// channel's top bits repeated into its new low bits (full white stays full
// white). Pixels a short picture lacks are black.
std::vector<uint8_t> rgbSamples(int32_t width, int32_t height, std::span<const uint16_t> pixels);

// The same for anything with a width, a height and RGB565 pixels (a surface).
template <typename Picture>
std::vector<uint8_t> surfaceRgb(const Picture& picture) {
    return rgbSamples(picture.width, picture.height, picture.pixels);
}

// An uncompressed 24-bit bottom-up BMP of width * height R, G, B samples,
// rows top to bottom.
std::vector<uint8_t> encodeBmp(int width, int height, std::span<const uint8_t> rgb);

// A PNG of width * height pixels of `channels` 8-bit samples (3: R, G, B;
// 4: with alpha), rows top to bottom. Empty when the sizes do not fit the
// samples.
std::vector<uint8_t> encodePng(int width, int height, int channels,
                               std::span<const uint8_t> samples);

}  // namespace formats
