// The night sky behind the course: one 1280-pixel panorama cut into a left
// (117) and right (118) half. It wraps around, so the halves also join
// the other way round.
#include <cmath>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "rng.h"
#include "scenery.h"
#include "shapes.h"

namespace {

constexpr int panoramaWidth = 1280;
constexpr int panoramaHeight = 352;
// The energy bar and the rescue figures sit in the top 50 rows wherever the
// sky has scrolled to, so stars stay faint up there.
constexpr int hudRows = 52;

double wrappedNoise(double x, double y, uint32_t seed, int octaves, double cellWidth) {
    int period = static_cast<int>(panoramaWidth / cellWidth);
    return fractalNoise(x / cellWidth, y, seed, octaves, period);
}

void drawGradient(Canvas& sky) {
    for (int y = 0; y < sky.height; ++y) {
        double t = static_cast<double>(y) / (sky.height - 1);
        Rgb c = t < 0.6 ? mix(night::skyTop, night::skyLow, t / 0.6)
                        : mix(night::skyLow, night::horizon, (t - 0.6) / 0.4);
        for (int x = 0; x < sky.width; ++x) pixelAt(sky, x, y) = {c, 1.0};
    }
}

// Thin drifting clouds, lit faintly from above by the moon.
void drawClouds(Canvas& sky) {
    for (int y = 60; y < 260; ++y) {
        for (int x = 0; x < sky.width; ++x) {
            double band = std::exp(-std::pow((y - 150.0) / 55.0, 2));
            double n = wrappedNoise(x, y / 26.0, 71, 5, 80.0);
            double density = clamp01((n - 0.52) * 3.0) * band * 0.35;
            if (density > 0)
                blendPixel(sky, x, y, mix(rgb(40, 44, 78), rgb(86, 90, 128), n), density);
        }
    }
}

void drawStars(Canvas& sky) {
    Rng rng{0x57A25};
    for (int i = 0; i < 900; ++i) {
        double x = uniform(rng, 0, panoramaWidth);
        double y = uniform(rng, 0, 300);
        double brightness = uniform(rng);
        brightness *= brightness;
        Rgb tint = mix(rgb(180, 200, 255), rgb(255, 236, 200), uniform(rng));
        // Fewer stars near the hazy horizon, and only faint ones behind the HUD.
        double fade = 1 - smoothStep(200, 300, y);
        if (y < hudRows) fade *= 0.25;
        double level = (0.25 + 0.75 * brightness) * fade;
        if (level < 0.05) continue;
        int px = static_cast<int>(x);
        int py = static_cast<int>(y);
        blendPixel(sky, px, py, tint, level);
        if (brightness > 0.6 && y >= hudRows) {
            // The brightest stars get a small cross of light.
            for (int d = -1; d <= 1; d += 2) {
                blendPixel(sky, (px + d + panoramaWidth) % panoramaWidth, py, tint, level * 0.4);
                blendPixel(sky, px, py + d, tint, level * 0.4);
            }
        }
    }
}

// Far mountains low on the horizon, then a nearer, darker range.
void drawRanges(Canvas& sky) {
    for (int x = 0; x < sky.width; ++x) {
        double far = 262 + 52 * (1 - wrappedNoise(x, 0.5, 11, 5, 160.0)) - 16;
        double nearTop = 300 + 40 * (1 - wrappedNoise(x, 3.5, 23, 4, 128.0)) - 8;
        for (int y = static_cast<int>(far) - 1; y < sky.height; ++y) {
            double cover = clamp01(y + 1 - far);
            double depth = clamp01((y - far) / 60.0);
            Rgb rock = mix(rgb(42, 44, 80), night::farHills, depth);
            // Snow and moonlight catch the crest.
            if (y - far < 1.5) rock = mix(rock, rgb(70, 74, 110), 0.4);
            blendPixel(sky, x, y, rock, cover);
        }
        for (int y = static_cast<int>(nearTop) - 1; y < sky.height; ++y)
            blendPixel(sky, x, y,
                       mix(night::farHills, night::nearHills, clamp01((y - nearTop) / 30.0)),
                       clamp01(y + 1 - nearTop));
    }
    // A haze over the ranges makes them recede behind the course.
    for (int y = 240; y < sky.height; ++y)
        for (int x = 0; x < sky.width; ++x)
            blendPixel(sky, x, y, night::horizon, 0.25 * smoothStep(240, 352, y));
}

}  // namespace

Canvas skyPanorama() {
    Canvas sky = makeCanvas(panoramaWidth, panoramaHeight, night::skyTop);
    drawGradient(sky);
    drawStars(sky);
    drawClouds(sky);
    drawRanges(sky);
    return sky;
}

void addSky(std::vector<Picture>& out) {
    Canvas sky = skyPanorama();
    out.push_back({resource::bmpSkyLeft, crop(sky, 0, 0, 640, panoramaHeight)});
    out.push_back({resource::bmpSkyRight, crop(sky, 640, 0, 640, panoramaHeight)});
}
