#include "gfx/screen_text.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "formats/resource_ids.h"
#include "platform/warnings.h"

// The lettering picture (made by tools/assets/screen_font.cpp) is white
// coverage on black in two bands: the row size on top, the heading size
// below. Each band holds characters 32 to 126 in cells 16 across, left to
// right and top to bottom. A cell's first row is a ruler whose lit pixels run
// from the letter's pen to the next letter's pen: the advance travels in the
// picture, so a player's own lettering brings its own spacing. Only the
// columns under the ruler are ever drawn, so a line never paints outside its
// width.

namespace {

constexpr int firstChar = 32;
constexpr int lastChar = 126;
constexpr int glyphCount = lastChar - firstChar + 1;
constexpr int columns = 16;
constexpr int rows = 6;

struct Cells {
    int width;
    int lineHeight;  // letter rows, under the ruler row
    int top;         // where the band starts in the picture
};

constexpr Cells normalCells{20, 18, 0};
constexpr Cells largeCells{36, 32, rows*(normalCells.lineHeight + 1)};
constexpr int pictureWidth = columns * largeCells.width;
constexpr int pictureHeight = largeCells.top + rows * (largeCells.lineHeight + 1);

struct Glyph {
    int pen = 0;      // the column of the cell the pen stands on
    int advance = 0;  // columns drawn, and how far the pen moves
};

struct Lettering {
    Cells cells{};
    std::array<Glyph, glyphCount> glyphs{};
    // Per glyph, advance x lineHeight opacities 0..255, row by row.
    std::array<std::vector<uint8_t>, glyphCount> coverage{};
};

struct ScreenFont {
    bool loaded = false;
    bool tried = false;
    Lettering sizes[2];
};

ScreenFont font;

// The picture is grey, so green, with the most bits of 5-6-5, says how much
// a pixel is covered.
uint8_t coverageOf(uint16_t pixel) {
    const int green = (pixel >> 5) & 63;
    return static_cast<uint8_t>((green * 255 + 31) / 63);
}

bool readBand(const platform::Bitmap& picture, Cells cells, Lettering& out, std::string& problem) {
    out.cells = cells;
    for (int index = 0; index < glyphCount; ++index) {
        const int cellX = (index % columns) * cells.width;
        const int cellY = cells.top + (index / columns) * (cells.lineHeight + 1);
        auto at = [&](int x, int y) {
            return picture.pixels[static_cast<size_t>(y) * picture.width + x];
        };
        auto lit = [&](int x) { return coverageOf(at(cellX + x, cellY)) >= 128; };
        int pen = 0;
        while (pen < cells.width && !lit(pen)) ++pen;
        int end = pen;
        while (end < cells.width && lit(end)) ++end;
        if (end == pen) {
            problem = "the letter '" + std::string(1, static_cast<char>(firstChar + index)) +
                      "' has no ruler above it";
            return false;
        }
        out.glyphs[index] = {pen, end - pen};
        std::vector<uint8_t>& cover = out.coverage[index];
        cover.resize(static_cast<size_t>(end - pen) * cells.lineHeight);
        for (int y = 0; y < cells.lineHeight; ++y)
            for (int x = pen; x < end; ++x)
                cover[static_cast<size_t>(y) * (end - pen) + (x - pen)] =
                    coverageOf(at(cellX + x, cellY + 1 + y));
    }
    return true;
}

bool ready() {
    if (!font.loaded && !font.tried) loadScreenFont();
    return font.loaded;
}

const Lettering& lettering(TextSize size) {
    return font.sizes[size == TextSize::large ? 1 : 0];
}

int glyphIndex(char byte) {
    const auto code = static_cast<unsigned char>(byte);
    return code >= firstChar && code <= lastChar ? code - firstChar : '?' - firstChar;
}

// One 5-6-5 pixel mixed towards `colour` by opacity 0..255, channel by channel.
uint16_t mixed(uint16_t under, uint16_t colour, int opacity) {
    const int keep = 255 - opacity;
    auto channel = [&](int shift, int mask) {
        const int below = (under >> shift) & mask;
        const int above = (colour >> shift) & mask;
        return ((below * keep + above * opacity + 127) / 255) << shift;
    };
    return static_cast<uint16_t>(channel(11, 31) | channel(5, 63) | channel(0, 31));
}

// The part of a rectangle that lies on the surface; empty when none does.
struct Span {
    int left, top, right, bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

Span clipped(const platform::Surface& target, int x, int y, int width, int height) {
    const auto clamp = [](long long v, int high) {
        return static_cast<int>(std::clamp<long long>(v, 0, high));
    };
    return {clamp(x, target.width), clamp(y, target.height),
            clamp(static_cast<long long>(x) + width, target.width),
            clamp(static_cast<long long>(y) + height, target.height)};
}

}  // namespace

bool loadScreenFont() {
    if (font.loaded) return true;
    font.tried = true;
    const std::string name = "kordavan: the settings screen's lettering (picture " +
                             std::to_string(resource::bmpScreenFont) + ")";
    platform::Bitmap* picture =
        platform::loadBitmap(platform::gameModule(), resource::bmpScreenFont);
    if (picture == nullptr) {
        platform::warn(name + " is missing or is not a picture; the screen shows no text.\n");
        return false;
    }
    std::string problem;
    if (picture->width != pictureWidth || picture->height != pictureHeight) {
        problem = "is " + std::to_string(picture->width) + " x " + std::to_string(picture->height) +
                  ", not " + std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight);
    } else if (readBand(*picture, normalCells, font.sizes[0], problem) &&
               readBand(*picture, largeCells, font.sizes[1], problem)) {
        font.loaded = true;
    }
    platform::deleteBitmap(picture);
    if (!font.loaded) {
        font.sizes[0] = font.sizes[1] = Lettering{};
        platform::warn(name + ": " + problem + "; the screen shows no text.\n");
    }
    return font.loaded;
}

void releaseScreenFont() {
    font = ScreenFont{};
}

int textWidth(std::string_view text, TextSize size) {
    if (!ready()) return 0;
    const Lettering& letters = lettering(size);
    long long width = 0;
    for (char byte : text) width += letters.glyphs[glyphIndex(byte)].advance;
    return static_cast<int>(std::min<long long>(width, 1 << 30));
}

int textHeight(TextSize size) {
    return size == TextSize::large ? largeCells.lineHeight : normalCells.lineHeight;
}

void drawText(platform::Surface& target, int x, int y, std::string_view text, uint16_t colour,
              TextSize size) {
    if (!ready()) return;
    const Lettering& letters = lettering(size);
    const int height = letters.cells.lineHeight;
    const Span rowsOnSurface = clipped(target, 0, y, 1, height);
    if (rowsOnSurface.top >= rowsOnSurface.bottom) return;
    long long pen = x;
    for (char byte : text) {
        if (pen >= target.width) break;
        const int index = glyphIndex(byte);
        const int advance = letters.glyphs[index].advance;
        const std::vector<uint8_t>& cover = letters.coverage[index];
        const long long first = std::max<long long>(0, -pen);
        const long long last = std::min<long long>(advance, target.width - pen);
        for (int ty = rowsOnSurface.top; ty < rowsOnSurface.bottom; ++ty) {
            const uint8_t* source = &cover[static_cast<size_t>(ty - y) * advance];
            uint16_t* row = &target.pixels[static_cast<size_t>(ty) * target.width];
            for (long long column = first; column < last; ++column) {
                const int opacity = source[column];
                if (opacity == 0) continue;
                uint16_t& pixel = row[pen + column];
                pixel = opacity == 255 ? colour : mixed(pixel, colour, opacity);
            }
        }
        pen += advance;
    }
}

void fillRect(platform::Surface& target, int x, int y, int width, int height, uint16_t colour) {
    const Span span = clipped(target, x, y, width, height);
    if (span.empty()) return;
    for (int ty = span.top; ty < span.bottom; ++ty) {
        uint16_t* row = &target.pixels[static_cast<size_t>(ty) * target.width];
        std::fill(row + span.left, row + span.right, colour);
    }
}

void shadeRect(platform::Surface& target, int x, int y, int width, int height, uint16_t colour,
               int opacity) {
    opacity = std::clamp(opacity, 0, 255);
    if (opacity == 0) return;
    if (opacity == 255) return fillRect(target, x, y, width, height, colour);
    const Span span = clipped(target, x, y, width, height);
    if (span.empty()) return;
    for (int ty = span.top; ty < span.bottom; ++ty) {
        uint16_t* row = &target.pixels[static_cast<size_t>(ty) * target.width];
        for (int tx = span.left; tx < span.right; ++tx) row[tx] = mixed(row[tx], colour, opacity);
    }
}
