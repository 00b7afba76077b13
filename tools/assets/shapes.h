#pragma once
// Antialiased shapes on a canvas. Curved shapes use their distance to the
// edge for coverage; polygons are sampled 4 x 4 per pixel.

#include <vector>

#include "canvas.h"

struct Point {
    double x = 0;
    double y = 0;
};

// Axis-aligned rectangle from (x0, y0) to (x1, y1), fractional edges allowed.
void fillRect(Canvas& canvas, double x0, double y0, double x1, double y1, const Paint& paint,
              double alpha = 1.0);
void fillRoundRect(Canvas& canvas, double x0, double y0, double x1, double y1, double radius,
                   const Paint& paint, double alpha = 1.0);
void fillCircle(Canvas& canvas, double cx, double cy, double radius, const Paint& paint,
                double alpha = 1.0);
void fillEllipse(Canvas& canvas, double cx, double cy, double rx, double ry, const Paint& paint,
                 double alpha = 1.0);
void fillPolygon(Canvas& canvas, const std::vector<Point>& points, const Paint& paint,
                 double alpha = 1.0);
// A line with round ends.
void drawLine(Canvas& canvas, double x0, double y0, double x1, double y1, double width,
              const Paint& paint, double alpha = 1.0);
void drawPolyline(Canvas& canvas, const std::vector<Point>& points, double width,
                  const Paint& paint, double alpha = 1.0);
// A soft glow: opacity falls off smoothly from the centre to `radius`.
void fillGlow(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double alpha = 1.0);

// Rectangle outline `width` thick, inside the given bounds.
void strokeRect(Canvas& canvas, double x0, double y0, double x1, double y1, double width,
                const Paint& paint, double alpha = 1.0);

// Points rotated by `angle` radians about (cx, cy).
std::vector<Point> rotated(const std::vector<Point>& points, double cx, double cy, double angle);
std::vector<Point> translated(const std::vector<Point>& points, double dx, double dy);
