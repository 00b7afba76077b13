#pragma once
// The game's RGB565 pictures widened to the 32-bit pixels a screen takes,
// shared by the back ends that show them.

#include <cstddef>
#include <cstdint>

namespace platform {

// Widens RGB565 to 32 bits with opaque alpha, each channel's top bits
// repeated into its new low bits so that full white stays full white.
void convertRgb565ToArgb8888(const uint16_t* src, uint32_t* dst, size_t count);
// The same with red and blue swapped: ABGR, which is also a canvas's R, G, B,
// A bytes in memory.
void convertRgb565ToAbgr8888(const uint16_t* src, uint32_t* dst, size_t count);

}  // namespace platform
