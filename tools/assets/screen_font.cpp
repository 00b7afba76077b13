// The lettering of the program's own screens (the settings screen): every
// printable ASCII character in the credits' bold, at two sizes, as white
// coverage on black, so the game can lay it over anything in any colour
// (gfx/screen_text.cpp reads it).
//
// The picture is two bands, the row size on top and the heading size below.
// Each band is 16 cells across and 6 down, characters 32 to 126 in order,
// left to right, top to bottom. A cell's first row is its ruler, the rest its
// letter. The ruler carries the letter's advance: its lit pixels run from
// where the pen stands to just before where the next letter's pen goes. So
// widths travel in the picture itself, survive the game's 5-6-5 conversion
// (a pixel is lit or not), and a player who redraws the lettering sets the
// spacing by drawing the ruler. Every letter's ink lies within its advance
// and its band, so a line of text never paints outside the box its width and
// height promise: a letter whose ink would start left of the pen is moved
// right and its advance grown by as much.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "text.h"

namespace {

constexpr int firstChar = 32;
constexpr int lastChar = 126;
constexpr int columns = 16;
constexpr int rows = 6;

struct Band {
    int emSize;      // the em square, in pixels
    int cellWidth;   // one cell, ruler and letter
    int lineHeight;  // the letter rows of a cell, under its ruler
    int baseline;    // from the top of the letter rows
};

// The row size and the heading size. gfx/screen_text.cpp knows these cells.
constexpr Band normalBand{15, 20, 18, 14};
constexpr Band largeBand{27, 36, 32, 25};

constexpr int pictureWidth = columns * largeBand.cellWidth;
constexpr int normalTop = 0;
constexpr int largeTop = rows * (normalBand.lineHeight + 1);
constexpr int pictureHeight = largeTop + rows * (largeBand.lineHeight + 1);

// Where one letter's ink lies, relative to its pen and baseline.
struct Ink {
    int left = 0;
    int right = 0;  // exclusive
    int top = 0;
    int bottom = 0;  // exclusive
    bool any = false;
};

constexpr int scratchPen = 16;

Ink measure(const Canvas& scratch, int baseline) {
    Ink ink;
    ink.left = scratch.width;
    ink.top = scratch.height;
    for (int y = 0; y < scratch.height; ++y) {
        for (int x = 0; x < scratch.width; ++x) {
            // Coverage that would round to black in the picture is no ink.
            if (pixelAt(scratch, x, y).alpha < 0.5 / 255) continue;
            ink.any = true;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    }
    ink.left -= scratchPen;
    ink.right -= scratchPen;
    ink.top -= baseline;
    ink.bottom -= baseline;
    return ink;
}

[[noreturn]] void refuse(const std::string& what) {
    std::fprintf(stderr, "kordavan-assets: screen lettering: %s\n", what.c_str());
    std::exit(1);
}

void drawBand(Canvas& picture, const Band& band, int bandTop) {
    const TextLook look{Font::Bold, band.emSize, rgb(255, 255, 255), rgb(0, 0, 0), 0};
    const Rgb lit = rgb(255, 255, 255);
    for (int c = firstChar; c <= lastChar; ++c) {
        const std::string letter(1, static_cast<char>(c));
        const int index = c - firstChar;
        const int cellX = (index % columns) * band.cellWidth;
        const int cellY = bandTop + (index / columns) * (band.lineHeight + 1);

        // Drawn once alone to see where its ink falls.
        const int scratchBaseline = band.emSize * 2;
        Canvas scratch = makeCanvas(band.emSize * 3 + scratchPen, band.emSize * 3);
        drawText(scratch, letter, scratchPen, scratchBaseline, look);
        const Ink ink = measure(scratch, scratchBaseline);
        const int shift = ink.any ? std::max(0, -ink.left) : 0;
        int advance = static_cast<int>(std::lround(textWidth(letter, look)));
        if (ink.any) advance = std::max(advance, ink.right);
        advance += shift;

        // One column is left dark at the cell's left, so neighbouring rulers
        // stay apart.
        const int pen = 1;
        if (advance < 1 || pen + advance > band.cellWidth)
            refuse("'" + letter + "' is " + std::to_string(advance) + " wide, its cell " +
                   std::to_string(band.cellWidth));
        if (ink.any && (ink.top < -band.baseline || ink.bottom > band.lineHeight - band.baseline))
            refuse("'" + letter + "' reaches rows " + std::to_string(ink.top) + " to " +
                   std::to_string(ink.bottom) + " of its baseline, its band " +
                   std::to_string(-band.baseline) + " to " +
                   std::to_string(band.lineHeight - band.baseline));

        for (int x = 0; x < advance; ++x) blendPixel(picture, cellX + pen + x, cellY, lit, 1.0);
        drawText(picture, letter, cellX + pen + shift, cellY + 1 + band.baseline, look);
    }
}

}  // namespace

void addScreenFont(std::vector<Picture>& out) {
    Canvas picture = makeCanvas(pictureWidth, pictureHeight, rgb(0, 0, 0));
    drawBand(picture, normalBand, normalTop);
    drawBand(picture, largeBand, largeTop);
    out.push_back({resource::bmpScreenFont, std::move(picture)});
}
