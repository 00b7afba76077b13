// The emblem at every size it is shown. Small icons get a few bold shapes,
// thick enough to survive at 16 pixels; from 64 pixels up there is room for
// the helicopter the player flies, its searchlight on a waving man, the moon
// and the hills of the course.
#include "emblem.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "image_files.h"
#include "scenery.h"
#include "shapes.h"

namespace {

// The bold emblem, laid out on a 32-unit square and scaled by `s`. At 32
// pixels (s = 1) it is exactly the window icon the game has always had.
Canvas boldEmblem(int size) {
    const double s = size / 32.0;
    // Below 32 pixels a line gets at least a pixel's width and sits on pixel
    // centres, or the rotor and the skid blur into two grey rows at 16.
    const bool hinted = size < 32;
    auto at = [s, hinted](double v) { return hinted ? std::floor(v * s) + 0.5 : v * s; };
    auto width = [s, hinted](double w) { return hinted ? std::max(w * s, 1.0) : w * s; };
    Canvas c = makeCanvas(size, size);
    auto line = [&](double x0, double y0, double x1, double y1, double w, Rgb colour) {
        drawLine(c, at(x0), at(y0), at(x1), at(y1), width(w), colour);
    };
    fillCircle(c, 16 * s, 16 * s, 15.5 * s,
               radialGradient(12 * s, 10 * s, 20 * s, rgb(40, 60, 130), rgb(8, 12, 40)));
    fillCircle(c, 22 * s, 9 * s, 4 * s, rgb(235, 232, 215));  // the moon
    line(4, 9.5, 28, 9.5, 1.6, rgb(200, 204, 214));           // rotor
    line(15, 10, 15, 13, 2, rgb(150, 150, 160));
    line(17, 16, 28, 14, 2.6, rgb(220, 70, 50));  // tail boom
    line(28, 14, 29, 10, 2, rgb(220, 70, 50));
    fillEllipse(c, 13 * s, 17 * s, 8 * s, 5 * s,
                verticalGradient(12 * s, rgb(240, 90, 60), 22 * s, rgb(150, 36, 30)));
    fillEllipse(c, 9 * s, 16 * s, 3.4 * s, 2.6 * s, rgb(150, 200, 235));  // cockpit
    // Below 32 pixels the red cross would be a pink smudge: the white patch
    // alone still reads as the rescue marking.
    fillRect(c, 12 * s, 16 * s, 16 * s, 18 * s, rgb(255, 255, 255));
    if (!hinted) {
        fillRect(c, 13.3 * s, 15 * s, 14.7 * s, 19 * s, rgb(210, 30, 30));
        fillRect(c, 12.5 * s, 16.3 * s, 15.5 * s, 17.7 * s, rgb(210, 30, 30));
    }
    line(7, 24, 22, 24, 1.6, rgb(190, 194, 204));  // skid
    line(10, 21, 10, 24, 1.2, rgb(190, 194, 204));
    line(18, 21, 18, 24, 1.2, rgb(190, 194, 204));
    return c;
}

// Keeps only what lies on the disc, with a soft one-pixel edge.
void cutToDisc(Canvas& c, double cx, double cy, double radius) {
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            pixelAt(c, x, y).alpha *=
                clamp01(radius + 0.5 - std::hypot(x + 0.5 - cx, y + 0.5 - cy));
}

// A ring just inside the disc's edge, `width` wide.
void drawRing(Canvas& c, double cx, double cy, double radius, double width, Rgb colour,
              double alpha) {
    const double middle = radius - width / 2;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            double inside = clamp01(radius + 0.5 - d);
            double coverage = std::min(inside, clamp01(width / 2 + 0.5 - std::abs(d - middle)));
            blendPixel(c, x, y, colour, coverage * alpha);
        }
    }
}

// Stars at fixed places on the unit square, brightest first.
const double stars[][3] = {{0.30, 0.16, 1.0},  {0.18, 0.30, 0.8}, {0.46, 0.10, 0.7},
                           {0.86, 0.46, 0.7},  {0.12, 0.46, 0.6}, {0.56, 0.22, 0.5},
                           {0.38, 0.28, 0.45}, {0.92, 0.30, 0.4}, {0.24, 0.08, 0.4}};

// The helicopter, hovering with its searchlight on a man who waves from a
// hilltop, under the moon: the scene the game is about.
Canvas sceneEmblem(int size) {
    const double u = size / 256.0;  // the scene is laid out on 256 units
    const double centre = size / 2.0;
    const double radius = centre - std::max(1.0, 4 * u);
    Canvas c = makeCanvas(size, size);
    fillRect(c, 0, 0, size, size,
             verticalGradient(0, night::skyTop, 200 * u, mix(night::skyLow, night::horizon, 0.5)));
    for (const auto& star : stars)
        fillGlow(c, star[0] * size, star[1] * size, std::max(1.5, 3.5 * u * star[2]),
                 rgb(230, 236, 255), 0.9 * star[2]);
    const int moonSize = static_cast<int>(std::lround(92 * u));
    drawCanvas(c, moonPicture(moonSize), static_cast<int>(std::lround(156 * u)),
               static_cast<int>(std::lround(18 * u)));

    // Far and near hills; the man stands on the near crest.
    fillPolygon(c,
                {{0, 196 * u},
                 {60 * u, 178 * u},
                 {130 * u, 190 * u},
                 {200 * u, 172 * u},
                 {256 * u, 186 * u},
                 {256 * u, 256 * u},
                 {0, 256 * u}},
                night::farHills);
    fillPolygon(c,
                {{0, 222 * u},
                 {70 * u, 206 * u},
                 {110 * u, 204 * u},
                 {170 * u, 214 * u},
                 {256 * u, 208 * u},
                 {256 * u, 256 * u},
                 {0, 256 * u}},
                verticalGradient(204 * u, rgb(30, 44, 40), 256 * u, night::nearHills));

    // The helicopter faces left; its searchlight sits under the nose at
    // (33, 50) of its own 240 x 64 box.
    const double zoom = 222 * u / 240;
    const double heliX = 14 * u;
    const double heliY = 92 * u;
    const double lampX = heliX + 33 * zoom;
    const double lampY = heliY + 50 * zoom;
    const double manX = 86 * u;
    const double groundY = 206 * u;
    fillPolygon(c,
                {{lampX - 2 * u, lampY},
                 {lampX + 2 * u, lampY},
                 {manX + 30 * u, groundY},
                 {manX - 22 * u, groundY}},
                verticalGradient(lampY, rgb(255, 250, 210), groundY, rgb(255, 236, 170)), 0.28);
    fillEllipse(c, manX + 4 * u, groundY, 28 * u, 5 * u, rgb(255, 240, 190), 0.35);
    const double manZoom = 1.4 * u;
    drawMan(c, manX + 4 * u - 12 * manZoom, groundY - 31 * manZoom, 3, manZoom);
    drawHelicopter(c, heliX, heliY, 1, zoom);

    cutToDisc(c, centre, centre, radius);
    // A pale rim keeps the dark disc apart from a dark panel behind it.
    drawRing(c, centre, centre, radius, std::max(1.0, 3 * u), rgb(150, 160, 200), 0.85);
    return c;
}

}  // namespace

Canvas emblem(int size) {
    return size < 64 ? boldEmblem(size) : sceneEmblem(size);
}

std::string writeDesktopIcons(const std::string& outDir) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!std::filesystem::is_directory(outDir)) return "cannot create directory " + outDir;
    for (int size : desktopIconSizes) {
        std::string path = outDir + "/icon-" + std::to_string(size) + ".png";
        if (!writePngWithAlpha(path, emblem(size))) return "cannot write " + path;
    }
    return {};
}
