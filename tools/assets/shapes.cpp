#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

struct Box {
    int x0, y0, x1, y1;  // inclusive-exclusive pixel range
};

Box clipBox(const Canvas& canvas, double x0, double y0, double x1, double y1) {
    Box box{static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0)),
            static_cast<int>(std::ceil(x1)) + 1, static_cast<int>(std::ceil(y1)) + 1};
    box.x0 = std::max(box.x0, 0);
    box.y0 = std::max(box.y0, 0);
    box.x1 = std::min(box.x1, canvas.width);
    box.y1 = std::min(box.y1, canvas.height);
    return box;
}

// Fills every pixel of the box whose centre lies within half a pixel of the
// shape, given the shape's signed distance (negative inside).
void fillByDistance(Canvas& canvas, Box box, const std::function<double(double, double)>& distance,
                    const Paint& paint, double alpha) {
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x < box.x1; ++x) {
            double px = x + 0.5;
            double py = y + 0.5;
            double coverage = clamp01(0.5 - distance(px, py));
            if (coverage > 0) blendPixel(canvas, x, y, paint.at(px, py), coverage * alpha);
        }
    }
}

double overlap(double a0, double a1, double b0, double b1) {
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

double segmentDistance(double px, double py, double x0, double y0, double x1, double y1) {
    double dx = x1 - x0;
    double dy = y1 - y0;
    double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? clamp01(((px - x0) * dx + (py - y0) * dy) / lengthSquared) : 0.0;
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

}  // namespace

void fillRect(Canvas& canvas, double x0, double y0, double x1, double y1, const Paint& paint,
              double alpha) {
    Box box = clipBox(canvas, x0, y0, x1, y1);
    for (int y = box.y0; y < box.y1; ++y) {
        double cy = overlap(y, y + 1, y0, y1);
        if (cy <= 0) continue;
        for (int x = box.x0; x < box.x1; ++x) {
            double cover = cy * overlap(x, x + 1, x0, x1);
            if (cover > 0) blendPixel(canvas, x, y, paint.at(x + 0.5, y + 0.5), cover * alpha);
        }
    }
}

void fillRoundRect(Canvas& canvas, double x0, double y0, double x1, double y1, double radius,
                   const Paint& paint, double alpha) {
    double cx = (x0 + x1) / 2;
    double cy = (y0 + y1) / 2;
    double hx = (x1 - x0) / 2 - radius;
    double hy = (y1 - y0) / 2 - radius;
    fillByDistance(
        canvas, clipBox(canvas, x0, y0, x1, y1),
        [=](double px, double py) {
            double qx = std::abs(px - cx) - hx;
            double qy = std::abs(py - cy) - hy;
            double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
            return outside + std::min(std::max(qx, qy), 0.0) - radius;
        },
        paint, alpha);
}

void fillCircle(Canvas& canvas, double cx, double cy, double radius, const Paint& paint,
                double alpha) {
    fillByDistance(
        canvas, clipBox(canvas, cx - radius, cy - radius, cx + radius, cy + radius),
        [=](double px, double py) { return std::hypot(px - cx, py - cy) - radius; }, paint, alpha);
}

void fillEllipse(Canvas& canvas, double cx, double cy, double rx, double ry, const Paint& paint,
                 double alpha) {
    // Scaled circle distance, corrected by the local stretch: close enough
    // for the gentle ellipses the game uses.
    double k = std::min(rx, ry);
    fillByDistance(
        canvas, clipBox(canvas, cx - rx, cy - ry, cx + rx, cy + ry),
        [=](double px, double py) {
            double nx = (px - cx) / rx;
            double ny = (py - cy) / ry;
            double r = std::hypot(nx, ny);
            double gx = nx / rx;
            double gy = ny / ry;
            double gradient = std::hypot(gx, gy);
            if (gradient <= 0) return -k;
            return (r - 1) * r / gradient;
        },
        paint, alpha);
}

void fillPolygon(Canvas& canvas, const std::vector<Point>& points, const Paint& paint,
                 double alpha) {
    if (points.size() < 3) return;
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const Point& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    Box box = clipBox(canvas, minX, minY, maxX, maxY);
    constexpr int grid = 4;
    std::vector<double> crossings;
    std::vector<double> coverage(static_cast<size_t>(std::max(0, box.x1 - box.x0)));
    for (int y = box.y0; y < box.y1; ++y) {
        std::fill(coverage.begin(), coverage.end(), 0.0);
        for (int sy = 0; sy < grid; ++sy) {
            double py = y + (sy + 0.5) / grid;
            crossings.clear();
            for (size_t i = 0; i < points.size(); ++i) {
                Point a = points[i];
                Point b = points[(i + 1) % points.size()];
                if ((a.y <= py) != (b.y <= py))
                    crossings.push_back(a.x + (py - a.y) / (b.y - a.y) * (b.x - a.x));
            }
            std::sort(crossings.begin(), crossings.end());
            // Even-odd spans, each sample column counted where it falls inside.
            for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                int first = std::max(box.x0, static_cast<int>(std::floor(crossings[i])));
                int last = std::min(box.x1, static_cast<int>(std::ceil(crossings[i + 1])) + 1);
                for (int x = first; x < last; ++x) {
                    for (int sx = 0; sx < grid; ++sx) {
                        double px = x + (sx + 0.5) / grid;
                        if (px >= crossings[i] && px < crossings[i + 1])
                            coverage[x - box.x0] += 1.0 / (grid * grid);
                    }
                }
            }
        }
        for (int x = box.x0; x < box.x1; ++x) {
            double c = coverage[x - box.x0];
            if (c > 0) blendPixel(canvas, x, y, paint.at(x + 0.5, y + 0.5), c * alpha);
        }
    }
}

void drawLine(Canvas& canvas, double x0, double y0, double x1, double y1, double width,
              const Paint& paint, double alpha) {
    double r = width / 2;
    fillByDistance(
        canvas,
        clipBox(canvas, std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r,
                std::max(y0, y1) + r),
        [=](double px, double py) { return segmentDistance(px, py, x0, y0, x1, y1) - r; }, paint,
        alpha);
}

void drawPolyline(Canvas& canvas, const std::vector<Point>& points, double width,
                  const Paint& paint, double alpha) {
    if (points.size() < 2) return;
    double r = width / 2;
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const Point& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    // One distance for the whole path, so joints do not double their opacity.
    fillByDistance(
        canvas, clipBox(canvas, minX - r, minY - r, maxX + r, maxY + r),
        [&](double px, double py) {
            double best = 1e9;
            for (size_t i = 0; i + 1 < points.size(); ++i)
                best = std::min(best, segmentDistance(px, py, points[i].x, points[i].y,
                                                      points[i + 1].x, points[i + 1].y));
            return best - r;
        },
        paint, alpha);
}

void fillGlow(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double alpha) {
    Box box = clipBox(canvas, cx - radius, cy - radius, cx + radius, cy + radius);
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x < box.x1; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d >= 1) continue;
            double falloff = (1 - d) * (1 - d);
            blendPixel(canvas, x, y, colour, falloff * alpha);
        }
    }
}

void strokeRect(Canvas& canvas, double x0, double y0, double x1, double y1, double width,
                const Paint& paint, double alpha) {
    fillRect(canvas, x0, y0, x1, y0 + width, paint, alpha);
    fillRect(canvas, x0, y1 - width, x1, y1, paint, alpha);
    fillRect(canvas, x0, y0 + width, x0 + width, y1 - width, paint, alpha);
    fillRect(canvas, x1 - width, y0 + width, x1, y1 - width, paint, alpha);
}

std::vector<Point> rotated(const std::vector<Point>& points, double cx, double cy, double angle) {
    std::vector<Point> out;
    double c = std::cos(angle);
    double s = std::sin(angle);
    for (const Point& p : points) {
        double dx = p.x - cx;
        double dy = p.y - cy;
        out.push_back({cx + dx * c - dy * s, cy + dx * s + dy * c});
    }
    return out;
}

std::vector<Point> translated(const std::vector<Point>& points, double dx, double dy) {
    std::vector<Point> out;
    for (const Point& p : points) out.push_back({p.x + dx, p.y + dy});
    return out;
}
