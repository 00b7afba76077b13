#pragma once
// Pieces of the night world shared between the game's pictures and its
// title and ending screens, so the screens show the same world the game does.

#include "canvas.h"

// Night colours used across the pictures.
namespace night {
constexpr Rgb skyTop = rgb(4, 6, 20);
constexpr Rgb skyLow = rgb(28, 34, 70);
constexpr Rgb horizon = rgb(52, 50, 88);
constexpr Rgb farHills = rgb(22, 26, 48);
constexpr Rgb nearHills = rgb(14, 18, 30);
constexpr Rgb moonlight = rgb(200, 210, 235);
constexpr Rgb lampLight = rgb(255, 214, 120);
}  // namespace night

// The whole 1280-pixel sky panorama, wrapping seamlessly left to right.
Canvas skyPanorama();

// The whole course as one strip: 2560 x 192, segment 3 on the left,
// segment 0 (the base) on the right.
Canvas courseStrip();

// The moon, `size` pixels across, on transparency.
Canvas moonPicture(int size);

// The rescue helicopter facing left, rotor `frame` 0..4, drawn with its
// top-left corner at (x, y) in a 240 x 64 box scaled by `zoom`.
void drawHelicopter(Canvas& canvas, double x, double y, int frame, double zoom = 1.0);

// A man, 24 x 32 at `zoom` 1: pose 0..2 walking right, 3 facing the front.
void drawMan(Canvas& canvas, double x, double y, int pose, double zoom = 1.0, bool mirror = false);
