// The display: a flip chain of one back buffer, off-screen pictures with a
// source colour key, and the keyed copy between them. All pictures are RGB565
// in memory; the back end only shows the back buffer.

#include <cstring>
#include <unordered_map>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include "platform/backend.h"

namespace platform {

struct Display {
    int serial;
    bool ready = false;  // the interface we use was asked for
    bool screenOpen = false;
};

namespace {

int serials = 0;
// Surfaces are the game's own plain records; the numbers that tell them
// apart in the call record are kept here.
std::unordered_map<const Surface*, int> surfaceSerials;

int serialOf(const Surface* surface) {
    if (surface == nullptr) return 0;
    const auto found = surfaceSerials.find(surface);
    return found == surfaceSerials.end() ? 0 : found->second;
}

// The primary surface stands for the screen, which the back end shows; its back buffer is
// where everything is drawn.
struct FlipChain {
    Surface* primary = nullptr;
    Surface* back = nullptr;
    Display* display = nullptr;
};
FlipChain chain;

Surface* newSurface(int width, int height) {
    auto* surface = new Surface;
    surface->width = width;
    surface->height = height;
    surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    surfaceSerials[surface] = ++serials;
    return surface;
}

// The whole cost of a frame is here. A select rather than a branch, over
// rows that never overlap, so the compiler turns the row into vector blends.
void copyKeyedRow(uint16_t* __restrict__ to, const uint16_t* __restrict__ from, int width,
                  uint16_t key) {
    int i = 0;
#if defined(__wasm_simd128__)
    // WebAssembly's vectoriser loads the target's pixels one lane at a time,
    // as if they might not be there; loaded whole, eight go at once.
    const v128_t keys = wasm_i16x8_splat(static_cast<int16_t>(key));
    for (; i + 8 <= width; i += 8) {
        const v128_t source = wasm_v128_load(from + i);
        const v128_t target = wasm_v128_load(to + i);
        wasm_v128_store(to + i, wasm_v128_bitselect(target, source, wasm_i16x8_eq(source, keys)));
    }
#endif
    for (; i < width; ++i) to[i] = from[i] == key ? to[i] : from[i];
}

// True when the row's key-coloured pixels all lie outside the rectangle.
bool missesKey(const KeyColumns& columns, const Rect& r) {
    return columns.first > columns.last || columns.last < r.left || columns.first >= r.right;
}

}  // namespace

Display* createDisplay() {
    Display* display = backend().refuses("createDisplay") ? nullptr : new Display{++serials};
    backend().note("createDisplay", display ? display->serial : 0);
    return display;
}

bool queryDisplayInterface(Display* display) {
    backend().note("queryDisplayInterface", display ? display->serial : 0);
    if (display == nullptr || backend().refuses("queryDisplayInterface")) return false;
    display->ready = true;
    return true;
}

bool setExclusiveFullscreen(Display* display, Window* window) {
    backend().note("setExclusiveFullscreen", display ? display->serial : 0);
    return display != nullptr && window != nullptr && !backend().refuses("setExclusiveFullscreen");
}

bool setDisplayMode(Display* display, int width, int height, int bitsPerPixel) {
    backend().note("setDisplayMode", display ? display->serial : 0);
    if (display == nullptr || backend().refuses("setDisplayMode")) return false;
    // The game's picture is always 640 x 480 in 16 bits; the back end scales it.
    return width == 640 && height == 480 && bitsPerPixel == 16;
}

Surface* createFlipChain(Display* display) {
    Surface* primary = nullptr;
    if (display != nullptr && chain.primary == nullptr && !backend().refuses("createFlipChain") &&
        backend().openScreen(640, 480)) {
        display->screenOpen = true;
        chain = FlipChain{newSurface(640, 480), newSurface(640, 480), display};
        primary = chain.primary;
    }
    backend().note("createFlipChain", serialOf(primary));
    return primary;
}

Surface* getBackBuffer(Surface* primary) {
    backend().note("getBackBuffer", serialOf(primary));
    if (primary == nullptr || primary != chain.primary || backend().refuses("getBackBuffer")) {
        return nullptr;
    }
    return chain.back;
}

Surface* createSurface(Display* display, int width, int height) {
    Surface* surface = nullptr;
    if (display != nullptr && width > 0 && height > 0 && width <= 8192 && height <= 8192 &&
        !backend().refuses("createSurface")) {
        surface = newSurface(width, height);
    }
    backend().note("createSurface", serialOf(surface));
    return surface;
}

PixelFormat getPixelFormat(Surface* surface) {
    backend().note("getPixelFormat", serialOf(surface));
    return displayFormat;
}

void setColorKey(Surface* surface, uint32_t key) {
    if (surface == nullptr) return;
    backend().note("setColorKey", serialOf(surface));
    surface->keyed = true;
    surface->colorKey = static_cast<uint16_t>(key);
    mapKeyColumns(*surface);
}

void mapKeyColumns(Surface& surface) {
    surface.keyColumns.assign(static_cast<size_t>(surface.height), KeyColumns{});
    if (!surface.keyed) return;
    for (int y = 0; y < surface.height; ++y) {
        const uint16_t* row = &surface.pixels[static_cast<size_t>(y) * surface.width];
        KeyColumns& columns = surface.keyColumns[static_cast<size_t>(y)];
        for (int x = 0; x < surface.width; ++x) {
            if (row[x] != surface.colorKey) continue;
            if (columns.first > columns.last) columns.first = x;
            columns.last = x;
        }
    }
}

bool bltFast(Surface* target, int x, int y, Surface* source, const Rect& r) {
    if (target == nullptr || source == nullptr) return false;
    if (r.left >= r.right || r.top >= r.bottom) return false;
    if (r.left < 0 || r.top < 0 || r.right > source->width || r.bottom > source->height) {
        return false;
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (x < 0 || y < 0 || x > target->width - width || y > target->height - height) return false;

    const uint16_t key = source->colorKey;
    const bool mapped = source->keyColumns.size() == static_cast<size_t>(source->height);
    for (int row = 0; row < height; ++row) {
        const uint16_t* from = &source->pixels[static_cast<size_t>(r.top + row) * source->width +
                                               static_cast<size_t>(r.left)];
        uint16_t* to =
            &target->pixels[static_cast<size_t>(y + row) * target->width + static_cast<size_t>(x)];
        if (!source->keyed || (mapped && missesKey(source->keyColumns[r.top + row], r))) {
            std::memcpy(to, from, static_cast<size_t>(width) * sizeof(uint16_t));
            continue;
        }
        copyKeyedRow(to, from, width, key);
    }
    return true;
}

void flip(Surface* primary) {
    if (primary == nullptr || primary != chain.primary) return;
    backend().note("flip", serialOf(primary));
    // The back end shows the back buffer, which keeps its pixels: the game
    // paints every frame in full over the last one.
    backend().present(*chain.back);
}

void release(Surface* surface) {
    if (surface == nullptr) return;
    backend().note("releaseSurface", serialOf(surface));
    if (surface == chain.back) return;  // goes with its primary surface
    if (surface == chain.primary) {
        if (chain.display != nullptr && chain.display->screenOpen) {
            backend().closeScreen();
            chain.display->screenOpen = false;
        }
        surfaceSerials.erase(chain.back);
        delete chain.back;
        chain = FlipChain{};
    }
    surfaceSerials.erase(surface);
    delete surface;
}

void release(Display* display) {
    if (display == nullptr) return;
    backend().note("releaseDisplay", display->serial);
    if (chain.display == display) chain.display = nullptr;
    if (display->screenOpen) backend().closeScreen();
    delete display;
}

}  // namespace platform
