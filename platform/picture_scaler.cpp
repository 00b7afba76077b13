// Enlarging the picture on the processor at close to the cost of writing
// the enlarged picture once. Each source row is widened and stretched across
// once, into one of two small rows that stay in the cache; every target row
// is then a copy of one of them or a blend of both. The inner loops work on
// plain bytes in blocks of a fixed size, which the compiler turns into
// SSE2 (or NEON, or WebAssembly SIMD) instructions on its own.

#include "platform/picture_scaler.h"

#include <algorithm>
#include <cstring>

#include "platform/pixel_widening.h"

namespace platform {

namespace {

constexpr size_t blockBytes = 32;

// The mean of two bytes, rounded up: one instruction for sixteen bytes on
// SSE2 (pavgb), NEON and WebAssembly SIMD alike. Blends in steps of a
// quarter are one or two of them.
inline uint8_t mean(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>((a + b + 1) >> 1);
}

void halfway(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict out,
             size_t bytes) {
    size_t i = 0;
    for (; i + blockBytes <= bytes; i += blockBytes) {
        for (size_t k = 0; k < blockBytes; ++k) out[i + k] = mean(a[i + k], b[i + k]);
    }
    for (; i < bytes; ++i) out[i] = mean(a[i], b[i]);
}

// A quarter of the way from a to b.
void quarterWay(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict out,
                size_t bytes) {
    size_t i = 0;
    for (; i + blockBytes <= bytes; i += blockBytes) {
        for (size_t k = 0; k < blockBytes; ++k) {
            out[i + k] = mean(a[i + k], mean(a[i + k], b[i + k]));
        }
    }
    for (; i < bytes; ++i) out[i] = mean(a[i], mean(a[i], b[i]));
}

// Each pixel repeated `times` times across.
void repeatPixels(const uint32_t* __restrict from, uint32_t* __restrict to, int count, int times) {
    if (times == 2) {
        for (int x = 0; x < count; ++x) to[2 * x] = to[2 * x + 1] = from[x];
        return;
    }
    for (int x = 0; x < count; ++x) {
        for (int copy = 0; copy < times; ++copy) to[x * times + copy] = from[x];
    }
}

void widen(const uint16_t* from, uint32_t* to, int count, PixelOrder order) {
    if (order == PixelOrder::Argb) {
        convertRgb565ToArgb8888(from, to, static_cast<size_t>(count));
    } else {
        convertRgb565ToAbgr8888(from, to, static_cast<size_t>(count));
    }
}

uint32_t* targetRow(uint32_t* target, ptrdiff_t pitchBytes, int y) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(target) + y * pitchBytes);
}

// to[x] = from[index[x]]: one load and one store a pixel, which is what
// sets the pace of the stretch across.
void gather(const uint32_t* __restrict from, const int32_t* __restrict index,
            uint32_t* __restrict to, int count) {
    for (int x = 0; x < count; ++x) to[x] = from[index[x]];
}

// The whole factor when the taps are nothing but that many copies of each pixel.
int wholeFactor(const ScaleTaps& taps, int sourceSize) {
    const int size = static_cast<int>(taps.first.size());
    if (sourceSize <= 0 || size % sourceSize != 0) return 0;
    const int factor = size / sourceSize;
    for (int i = 0; i < size; ++i) {
        if (taps.quarters[i] != 0 || taps.first[i] != i / factor) return 0;
    }
    return factor;
}

}  // namespace

ScaleTaps sharpLinearTaps(int sourceSize, int targetSize) {
    ScaleTaps taps;
    if (sourceSize <= 0 || targetSize <= 0) return taps;
    taps.first.resize(static_cast<size_t>(targetSize));
    taps.quarters.resize(static_cast<size_t>(targetSize));
    const int factor = std::max(1, targetSize / sourceSize);
    const int64_t copies = static_cast<int64_t>(sourceSize) * factor;
    const int64_t span = 2 * static_cast<int64_t>(targetSize);
    for (int j = 0; j < targetSize; ++j) {
        // The centre of target pixel j among the copies, in steps of 1/span:
        // centres line up at both edges, as a graphics chip's filter has them.
        const int64_t centre = std::max<int64_t>(0, (2 * j + 1) * copies - targetSize);
        int64_t copy = centre / span;
        int64_t rest = centre % span;
        if (copy >= copies - 1) {
            copy = copies - 1;
            rest = 0;
        }
        const auto left = static_cast<int32_t>(copy / factor);
        const auto right = static_cast<int32_t>((copy + 1) / factor);
        // How far towards the next copy, to the nearest quarter.
        const int64_t quarters = (rest * 8 + span) / (2 * span);
        const bool blended = left != right && quarters > 0 && quarters < 4;
        taps.first[j] = blended || quarters < 4 || left == right ? left : right;
        taps.quarters[j] = blended ? static_cast<uint8_t>(quarters) : 0;
    }
    return taps;
}

void PictureScaler::prepare(int width, int height, int targetWidth, int targetHeight,
                            PixelOrder order) {
    if (width == sourceWidth && height == sourceHeight && targetWidth == outWidth &&
        targetHeight == outHeight && order == pixelOrder) {
        return;
    }
    sourceWidth = width;
    sourceHeight = height;
    outWidth = targetWidth;
    outHeight = targetHeight;
    pixelOrder = order;
    across = sharpLinearTaps(width, targetWidth);
    down = sharpLinearTaps(height, targetHeight);
    wholeAcross = wholeFactor(across, width);
    // Parts a whole number of cache lines long.
    poolStride = (static_cast<size_t>(width) + 1 + 15) / 16 * 16;
    pool.assign(poolStride * 4, 0);
    poolIndex.resize(static_cast<size_t>(targetWidth));
    std::fill(std::begin(quartersUsed), std::end(quartersUsed), false);
    for (int x = 0; x < targetWidth; ++x) {
        const int quarters = across.quarters[x];
        quartersUsed[quarters] = true;
        poolIndex[x] =
            static_cast<int32_t>(static_cast<size_t>(quarters) * poolStride) + across.first[x];
    }
    firstCopy.assign(static_cast<size_t>(height), -1);
    for (int y = targetHeight - 1; y >= 0; --y) {
        if (down.quarters[y] == 0) firstCopy[down.first[y]] = y;
    }
    for (auto& row : rows) row.assign(static_cast<size_t>(targetWidth), 0);
    last.clear();
    wholeStale = true;
}

void PictureScaler::compareRows(const uint16_t* source) {
    const size_t rowPixels = static_cast<size_t>(sourceWidth);
    rowChanged.assign(static_cast<size_t>(sourceHeight), 1);
    if (wholeStale || last.size() != rowPixels * sourceHeight) {
        last.assign(source, source + rowPixels * sourceHeight);
        return;
    }
    for (int y = 0; y < sourceHeight; ++y) {
        const uint16_t* now = source + y * rowPixels;
        uint16_t* before = last.data() + y * rowPixels;
        if (std::memcmp(now, before, rowPixels * sizeof(uint16_t)) == 0) {
            rowChanged[y] = 0;
        } else {
            std::memcpy(before, now, rowPixels * sizeof(uint16_t));
        }
    }
}

const uint32_t* PictureScaler::enlargedRow(const uint16_t* source, int row, uint32_t* into) {
    const int slot = row & 1;
    if (rowHeld[slot] == row) return rowAt[slot];
    // Made where it is wanted when that is a target row, else in a row of
    // our own; a blend reads it from there while it is still in the cache.
    uint32_t* out = into != nullptr ? into : rows[slot].data();
    rowHeld[slot] = row;
    rowAt[slot] = out;
    const uint16_t* from = source + static_cast<size_t>(row) * sourceWidth;
    if (wholeAcross == 1) {
        widen(from, out, sourceWidth, pixelOrder);
        return out;
    }
    uint32_t* wide = pool.data();
    widen(from, wide, sourceWidth, pixelOrder);
    if (wholeAcross > 1) {
        repeatPixels(wide, out, sourceWidth, wholeAcross);
        return out;
    }
    wide[sourceWidth] = wide[sourceWidth - 1];
    const auto bytes = [](const uint32_t* pixels) {
        return reinterpret_cast<const uint8_t*>(pixels);
    };
    const auto part = [&](int quarters) {
        return reinterpret_cast<uint8_t*>(pool.data() + quarters * poolStride);
    };
    const size_t rowBytes = static_cast<size_t>(sourceWidth) * 4;
    halfway(bytes(wide), bytes(wide + 1), part(2), rowBytes);
    if (quartersUsed[1]) halfway(bytes(wide), part(2), part(1), rowBytes);
    if (quartersUsed[3]) halfway(bytes(wide + 1), part(2), part(3), rowBytes);
    gather(pool.data(), poolIndex.data(), out, outWidth);
    return out;
}

void PictureScaler::drawRow(const uint16_t* source, int row, uint32_t* target,
                            ptrdiff_t pitchBytes) {
    const int first = down.first[row];
    const int quarters = down.quarters[row];
    const size_t bytes = static_cast<size_t>(outWidth) * 4;
    uint32_t* out = targetRow(target, pitchBytes, row);
    // A source row is made straight into the first target row that copies
    // it, even ahead of the row drawn now: no copy of it is needed there,
    // and if that row was not to be drawn, its source row did not change
    // and the same pixels land on it.
    const auto home = [&](int sourceRow) {
        const int copyRow = firstCopy[sourceRow];
        return copyRow >= 0 ? targetRow(target, pitchBytes, copyRow) : nullptr;
    };
    if (quarters == 0) {
        const uint32_t* made = enlargedRow(source, first, home(first));
        if (made != out) std::memcpy(out, made, bytes);
        return;
    }
    const auto* upper = reinterpret_cast<const uint8_t*>(enlargedRow(source, first, home(first)));
    const auto* lower =
        reinterpret_cast<const uint8_t*>(enlargedRow(source, first + 1, home(first + 1)));
    auto* blended = reinterpret_cast<uint8_t*>(out);
    if (quarters == 2) {
        halfway(upper, lower, blended, bytes);
    } else if (quarters == 1) {
        quarterWay(upper, lower, blended, bytes);
    } else {
        quarterWay(lower, upper, blended, bytes);
    }
}

void PictureScaler::scale(const uint16_t* source, int width, int height, uint32_t* target,
                          ptrdiff_t pitchBytes, int targetWidth, int targetHeight,
                          PixelOrder order) {
    drawn.clear();
    if (source == nullptr || target == nullptr || width <= 0 || height <= 0 || targetWidth <= 0 ||
        targetHeight <= 0) {
        return;
    }
    prepare(width, height, targetWidth, targetHeight, order);
    if (target != lastTarget || pitchBytes != lastPitch) wholeStale = true;
    lastTarget = target;
    lastPitch = pitchBytes;
    compareRows(source);
    wholeStale = false;
    rowHeld[0] = rowHeld[1] = -1;

    for (int y = 0; y < targetHeight; ++y) {
        const int first = down.first[y];
        const bool copy = down.quarters[y] == 0;
        if (rowChanged[first] == 0 && (copy || rowChanged[first + 1] == 0)) continue;
        uint32_t* out = targetRow(target, pitchBytes, y);
        // A row that repeats the one above, as whole-factor rows do, is
        // copied from there rather than made again.
        const bool aboveDrawn = !drawn.empty() && drawn.back().bottom == y;
        if (copy && aboveDrawn && down.quarters[y - 1] == 0 && down.first[y - 1] == first) {
            std::memcpy(out, targetRow(target, pitchBytes, y - 1),
                        static_cast<size_t>(targetWidth) * 4);
        } else {
            drawRow(source, y, target, pitchBytes);
        }
        if (aboveDrawn) {
            drawn.back().bottom = y + 1;
        } else {
            drawn.push_back({y, y + 1});
        }
    }
}

}  // namespace platform
