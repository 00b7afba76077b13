// The explosion when the helicopter is destroyed: nine frames of a fireball
// that swells, burns out and drifts away as smoke.
#include <cmath>
#include <numbers>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "rng.h"
#include "shapes.h"

namespace {

// Fire colour for a heat from 0 (cold smoke) to 1 (white-hot core).
Rgb fireColour(double heat) {
    if (heat > 0.8) return mix(rgb(255, 220, 120), rgb(255, 255, 235), (heat - 0.8) / 0.2);
    if (heat > 0.55) return mix(rgb(250, 140, 30), rgb(255, 220, 120), (heat - 0.55) / 0.25);
    if (heat > 0.3) return mix(rgb(170, 40, 20), rgb(250, 140, 30), (heat - 0.3) / 0.25);
    if (heat > 0.12) return mix(rgb(60, 40, 38), rgb(170, 40, 20), (heat - 0.12) / 0.18);
    return mix(rgb(70, 66, 70), rgb(90, 50, 40), heat / 0.12);
}

Canvas explosionFrame(int frame) {
    Canvas c = makeCanvas(96, 96);
    double t = frame / 8.0;
    double radius = 12 + 34 * std::sqrt(t);
    double cx = 48;
    double cy = 52 - 10 * t;  // the hot cloud rises
    // Debris flung out early on.
    Rng rng{0xB0037u};
    for (int i = 0; i < 14; ++i) {
        double angle = uniform(rng, 0, 2 * std::numbers::pi);
        double speed = uniform(rng, 0.6, 1.0);
        double reach = (14 + 40 * speed) * std::min(1.0, t * 2.2 + 0.15);
        if (t > 0.6) continue;
        double x = 48 + std::cos(angle) * reach;
        double y = 52 + std::sin(angle) * reach + 30 * t * t;
        drawLine(c, x, y, x - std::cos(angle) * 5, y - std::sin(angle) * 5, 2, fireColour(0.85 - t),
                 1);
    }
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            double dx = x + 0.5 - cx;
            double dy = y + 0.5 - cy;
            double d = std::hypot(dx, dy);
            double n = fractalNoise(x / 12.0 + frame * 0.7, y / 12.0 - frame * 0.9, 0xF12E, 3);
            double edge = radius * (0.72 + 0.5 * n);
            double cover = clamp01(edge - d);
            // The cloud tears apart into puffs as it cools.
            double puffs = fractalNoise(x / 18.0 + frame * 0.3, y / 18.0, 0xF12F, 2);
            if (t > 0.5) cover *= clamp01((puffs - (t - 0.5) * 0.9) * 5);
            if (cover <= 0) continue;
            double heat = (1 - d / edge) * (1.25 - t * 1.1) + (n - 0.5) * 0.5;
            heat = clamp01(heat - t * 0.25);
            // Smoke is lit from above by the moon and from below by the fire.
            Rgb colour = fireColour(heat);
            if (heat < 0.12)
                colour = mix(colour, rgb(120, 112, 116), clamp01((cy - y) / radius) * 0.6);
            blendPixel(c, x, y, colour, cover);
        }
    }
    return c;
}

}  // namespace

void addExplosion(std::vector<Picture>& out) {
    // Frame order as the game plays them.
    const int ids[9] = {resource::bmpExplosion1, resource::bmpExplosion2, resource::bmpExplosion3,
                        resource::bmpExplosion4, resource::bmpExplosion5, resource::bmpExplosion6,
                        resource::bmpExplosion7, resource::bmpExplosion8, resource::bmpExplosion9};
    for (int frame = 0; frame < 9; ++frame) out.push_back({ids[frame], explosionFrame(frame)});
}
