#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "key_rules.h"

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

double smoothStep(double edge0, double edge1, double v) {
    double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Paint verticalGradient(double y0, Rgb top, double y1, Rgb bottom) {
    return Paint([=](double, double y) { return mix(top, bottom, clamp01((y - y0) / (y1 - y0))); });
}

Paint horizontalGradient(double x0, Rgb left, double x1, Rgb right) {
    return Paint([=](double x, double) { return mix(left, right, clamp01((x - x0) / (x1 - x0))); });
}

Paint radialGradient(double cx, double cy, double radius, Rgb centre, Rgb edge) {
    return Paint([=](double x, double y) {
        return mix(centre, edge, clamp01(std::hypot(x - cx, y - cy) / radius));
    });
}

Canvas makeCanvas(int width, int height) {
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels.assign(static_cast<size_t>(width) * height, Pixel{});
    return canvas;
}

Canvas makeCanvas(int width, int height, Rgb fill) {
    Canvas canvas = makeCanvas(width, height);
    for (Pixel& p : canvas.pixels) p = {fill, 1.0};
    return canvas;
}

bool inside(const Canvas& canvas, int x, int y) {
    return x >= 0 && y >= 0 && x < canvas.width && y < canvas.height;
}

Pixel& pixelAt(Canvas& canvas, int x, int y) {
    return canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
}

const Pixel& pixelAt(const Canvas& canvas, int x, int y) {
    return canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
}

void blendPixel(Canvas& canvas, int x, int y, Rgb colour, double alpha) {
    if (!inside(canvas, x, y) || alpha <= 0) return;
    alpha = std::min(alpha, 1.0);
    Pixel& p = pixelAt(canvas, x, y);
    double outAlpha = alpha + p.alpha * (1 - alpha);
    if (outAlpha <= 0) return;
    double under = p.alpha * (1 - alpha);
    p.colour = {(colour.r * alpha + p.colour.r * under) / outAlpha,
                (colour.g * alpha + p.colour.g * under) / outAlpha,
                (colour.b * alpha + p.colour.b * under) / outAlpha};
    p.alpha = outAlpha;
}

void drawCanvas(Canvas& target, const Canvas& source, int x, int y, bool mirror) {
    for (int sy = 0; sy < source.height; ++sy) {
        for (int sx = 0; sx < source.width; ++sx) {
            const Pixel& p = pixelAt(source, mirror ? source.width - 1 - sx : sx, sy);
            blendPixel(target, x + sx, y + sy, p.colour, p.alpha);
        }
    }
}

Canvas mirrored(const Canvas& source) {
    Canvas out = makeCanvas(source.width, source.height);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x)
            pixelAt(out, x, y) = pixelAt(source, source.width - 1 - x, y);
    return out;
}

Canvas crop(const Canvas& source, int x0, int y0, int width, int height) {
    Canvas out = makeCanvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (inside(source, x0 + x, y0 + y))
                pixelAt(out, x, y) = pixelAt(source, x0 + x, y0 + y);
    return out;
}

namespace {

uint8_t toByte(double v) {
    return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0));
}

}  // namespace

Image toKeyedImage(const Canvas& canvas, Rgb edge) {
    Image image;
    image.width = canvas.width;
    image.height = canvas.height;
    image.rgb.resize(static_cast<size_t>(canvas.width) * canvas.height * 3);
    for (size_t i = 0; i < canvas.pixels.size(); ++i) {
        const Pixel& p = canvas.pixels[i];
        uint8_t* out = &image.rgb[i * 3];
        if (p.alpha < 0.3) {
            out[0] = keyRed;
            out[1] = keyGreen;
            out[2] = keyBlue;
            continue;
        }
        // A thin edge reads as antialiased against the night, never against the key.
        Rgb c = p.alpha >= 0.999 ? p.colour : mix(edge, p.colour, smoothStep(0.3, 1.0, p.alpha));
        out[0] = toByte(c.r);
        out[1] = toByte(c.g);
        out[2] = toByte(c.b);
        keepClearOfKey(out);
    }
    return image;
}
