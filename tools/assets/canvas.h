#pragma once
// A drawing surface for the generator: straight-alpha colours in doubles, so
// shapes antialias and blend freely while drawing, and only the final step
// decides which pixels become the transparent key colour.

#include <cstdint>
#include <functional>
#include <type_traits>
#include <vector>

struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

// Colours are written as 0..255 byte values, the way an artist picks them.
constexpr Rgb rgb(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}

Rgb mix(Rgb a, Rgb b, double t);
Rgb scale(Rgb c, double k);
double clamp01(double v);
double smoothStep(double edge0, double edge1, double v);

struct Pixel {
    Rgb colour;
    double alpha = 0;
};

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};

// What a shape is filled with, as a function of the position: a plain colour
// or a gradient.
struct Paint {
    std::function<Rgb(double x, double y)> at;
    Paint(Rgb c) : at([c](double, double) { return c; }) {}
    template <class F>
    requires std::is_invocable_r_v<Rgb, F, double, double> Paint(F f) : at(std::move(f)) {}
};

Paint verticalGradient(double y0, Rgb top, double y1, Rgb bottom);
Paint horizontalGradient(double x0, Rgb left, double x1, Rgb right);
Paint radialGradient(double cx, double cy, double radius, Rgb centre, Rgb edge);

Canvas makeCanvas(int width, int height);            // fully transparent
Canvas makeCanvas(int width, int height, Rgb fill);  // fully opaque
bool inside(const Canvas& canvas, int x, int y);
Pixel& pixelAt(Canvas& canvas, int x, int y);
const Pixel& pixelAt(const Canvas& canvas, int x, int y);

// Lays a colour over one pixel with the given coverage/opacity.
void blendPixel(Canvas& canvas, int x, int y, Rgb colour, double alpha);

// Copies `source` onto `target` at (x, y), alpha-blended, optionally mirrored.
void drawCanvas(Canvas& target, const Canvas& source, int x, int y, bool mirrored = false);
Canvas mirrored(const Canvas& source);
Canvas crop(const Canvas& source, int x, int y, int width, int height);

// The finished picture: 8-bit RGB rows top-down.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // width * height * 3
};

constexpr uint8_t keyRed = 0;
constexpr uint8_t keyGreen = 255;
constexpr uint8_t keyBlue = 0;

// Turns a canvas into a colour-keyed picture. Pixels under half covered
// become the key; partly covered edge pixels are darkened towards `edge`
// instead of being blended with the key, so no green fringe can appear.
Image toKeyedImage(const Canvas& canvas, Rgb edge = rgb(12, 14, 22));
