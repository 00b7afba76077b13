#include "platform/sdl/screen_math.h"

namespace platform::sdl {

namespace {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

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

Letterbox letterbox(int outputWidth, int outputHeight) {
    if (outputWidth <= 0 || outputHeight <= 0) {
        return {{0, 0, pictureWidth, pictureHeight}, true};
    }
    // Compare in integers so an exact 4:3 output never loses a pixel to rounding.
    const int64_t w = outputWidth;
    const int64_t h = outputHeight;
    Letterbox box{};
    if (w * pictureHeight <= h * pictureWidth) {
        // Narrower than 4:3: full width, bars above and below.
        box.rect.w = outputWidth;
        box.rect.h = static_cast<int>((w * pictureHeight + pictureWidth / 2) / pictureWidth);
        box.wholeScale = outputWidth % pictureWidth == 0;
    } else {
        // Wider than 4:3: full height, bars left and right.
        box.rect.h = outputHeight;
        box.rect.w = static_cast<int>((h * pictureWidth + pictureHeight / 2) / pictureHeight);
        box.wholeScale = outputHeight % pictureHeight == 0;
    }
    box.rect.x = (outputWidth - box.rect.w) / 2;
    box.rect.y = (outputHeight - box.rect.h) / 2;
    return box;
}

int64_t frameWait(FramePacer& pacer, int64_t now, int64_t period) {
    if (!pacer.started || now - pacer.due > period) {
        pacer.started = true;
        pacer.due = now + period;
        return 0;
    }
    const int64_t wait = pacer.due > now ? pacer.due - now : 0;
    pacer.due += period;
    return wait;
}

}  // namespace platform::sdl
