// RGB565 to 32-bit pixels.

#include "platform/pixel_widening.h"

namespace platform {

namespace {

// Blocks of a fixed size let g++ vectorise even at -O2, where its cheap cost
// model refuses loops of unknown length.
constexpr size_t blockSize = 16;

template <int RedShift, int BlueShift>
inline uint32_t widen(uint32_t p) {
    const uint32_t r = p >> 11;
    const uint32_t g = (p >> 5) & 0x3F;
    const uint32_t b = p & 0x1F;
    const uint32_t r8 = (r << 3) | (r >> 2);
    const uint32_t g8 = (g << 2) | (g >> 4);
    const uint32_t b8 = (b << 3) | (b >> 2);
    return 0xFF000000u | (r8 << RedShift) | (g8 << 8) | (b8 << BlueShift);
}

template <int RedShift, int BlueShift>
void convert(const uint16_t* __restrict src, uint32_t* __restrict dst, size_t count) {
    size_t i = 0;
    for (; i + blockSize <= count; i += blockSize) {
        for (size_t k = 0; k < blockSize; ++k) {
            dst[i + k] = widen<RedShift, BlueShift>(src[i + k]);
        }
    }
    for (; i < count; ++i) {
        dst[i] = widen<RedShift, BlueShift>(src[i]);
    }
}

}  // namespace

void convertRgb565ToArgb8888(const uint16_t* src, uint32_t* dst, size_t count) {
    convert<16, 0>(src, dst, count);
}

void convertRgb565ToAbgr8888(const uint16_t* src, uint32_t* dst, size_t count) {
    convert<0, 16>(src, dst, count);
}

}  // namespace platform
