// The dangers on the ground: the crusher rising out of its stone pillar and
// the orb launcher turning its head towards the helicopter.
#include <cmath>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "rng.h"
#include "scenery.h"
#include "shapes.h"

namespace {

const Rgb hazardYellow = rgb(230, 190, 40);
const Rgb hazardBlack = rgb(28, 28, 32);

void hazardStripes(Canvas& c, double x0, double y0, double x1, double y1) {
    fillRect(c, x0, y0, x1, y1, hazardYellow);
    for (double x = x0 - (y1 - y0); x < x1; x += 10) {
        fillPolygon(c,
                    {{std::max(x, x0), y0},
                     {std::min(x + 5, x1), y0},
                     {std::min(x + 5 + (y1 - y0), x1), y1},
                     {std::max(x + (y1 - y0), x0), y1}},
                    hazardBlack);
    }
    // The diagonal band leaks past the corners; trim it back to the box.
    fillRect(c, x0, y0, x1, y0 + 0.01, hazardYellow);
}

Canvas crusher() {
    Canvas c = makeCanvas(64, 240);
    Paint steel = horizontalGradient(14, rgb(150, 156, 170), 50, rgb(60, 64, 76));
    fillRect(c, 16, 40, 48, 240, steel);
    for (double y = 56; y < 240; y += 24) {
        fillRect(c, 16, y, 48, y + 2, rgb(40, 42, 50));
        fillCircle(c, 21, y + 8, 1.5, rgb(190, 196, 210));
        fillCircle(c, 43, y + 8, 1.5, rgb(190, 196, 210));
    }
    // The head: a row of blades that cut anything flying too low.
    fillRect(c, 2, 22, 62, 44, horizontalGradient(2, rgb(170, 176, 190), 62, rgb(70, 74, 86)));
    hazardStripes(c, 4, 30, 60, 38);
    for (int i = 0; i < 5; ++i) {
        double x = 2 + i * 12;
        fillPolygon(c, {{x, 23}, {x + 6, 1}, {x + 12, 23}},
                    horizontalGradient(x, rgb(235, 238, 245), x + 12, rgb(110, 116, 130)));
        drawLine(c, x + 6, 3, x + 6, 20, 1, rgb(255, 255, 255), 0.5);
    }
    return c;
}

Canvas pillar() {
    Canvas c = makeCanvas(64, 128, rgb(70, 68, 72));
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 64; ++x) {
            int row = y / 14;
            int shifted = x + (row % 2) * 11;
            double block = hashNoise(shifted / 22, row, 151);
            double grain = fractalNoise(x / 3.0, y / 3.0, 152, 3);
            Rgb stone = mix(rgb(84, 82, 86), rgb(120, 116, 112), block * 0.6 + grain * 0.4);
            stone = mix(stone, rgb(30, 30, 36), smoothStep(20, 64, x) * 0.55);  // moon on the left
            if (y % 14 == 0 || shifted % 22 == 0) stone = rgb(36, 34, 40);
            pixelAt(c, x, y) = {stone, 1.0};
        }
    }
    // The dark slot the crusher rises from.
    fillRect(c, 14, 0, 50, 6, rgb(14, 14, 18));
    fillRect(c, 0, 6, 64, 9, rgb(140, 136, 130));
    return c;
}

// The launcher's head turns towards the helicopter: `tilt` in radians,
// negative to the left.
Canvas launcher(double tilt) {
    Canvas c = makeCanvas(128, 128);
    double pivotX = 64;
    double pivotY = 86;
    // Barrel first, so the turret's dome covers its root.
    std::vector<Point> barrel = {{pivotX - 7, pivotY},
                                 {pivotX - 6, pivotY - 58},
                                 {pivotX + 6, pivotY - 58},
                                 {pivotX + 7, pivotY}};
    fillPolygon(c, rotated(barrel, pivotX, pivotY, tilt), rgb(78, 82, 92));
    std::vector<Point> stripe = {{pivotX - 2, pivotY - 4},
                                 {pivotX - 1.5, pivotY - 56},
                                 {pivotX + 1, pivotY - 56},
                                 {pivotX + 1, pivotY - 4}};
    fillPolygon(c, rotated(stripe, pivotX, pivotY, tilt), rgb(130, 136, 150));
    std::vector<Point> muzzle = {{pivotX - 9, pivotY - 52},
                                 {pivotX - 9, pivotY - 62},
                                 {pivotX + 9, pivotY - 62},
                                 {pivotX + 9, pivotY - 52}};
    fillPolygon(c, rotated(muzzle, pivotX, pivotY, tilt), rgb(50, 52, 60));
    Point tip = rotated({{pivotX, pivotY - 62}}, pivotX, pivotY, tilt)[0];
    fillGlow(c, tip.x, tip.y, 8, rgb(255, 130, 60), 0.9);
    fillCircle(c, tip.x, tip.y, 3, rgb(255, 220, 160));

    fillEllipse(c, 64, 88, 26, 18, verticalGradient(70, rgb(120, 126, 140), 106, rgb(50, 54, 64)));
    fillCircle(c, 56, 82, 3, rgb(255, 80, 40));  // sensor eye
    fillGlow(c, 56, 82, 7, rgb(255, 80, 40), 0.6);
    // The bunker it stands on, sunk into the ground.
    fillPolygon(c, {{22, 124}, {34, 96}, {94, 96}, {106, 124}},
                verticalGradient(96, rgb(96, 94, 90), 124, rgb(50, 48, 48)));
    hazardStripes(c, 36, 100, 92, 106);
    fillRect(c, 18, 120, 110, 126, rgb(60, 58, 56));
    return c;
}

}  // namespace

void addHazards(std::vector<Picture>& out) {
    out.push_back({resource::bmpCrusher, crusher()});
    out.push_back({resource::bmpPillar, pillar()});
    out.push_back({resource::bmpLauncherUp, launcher(0.0)});
    out.push_back({resource::bmpLauncherLeft, launcher(-0.6)});
    out.push_back({resource::bmpLauncherRight, launcher(0.6)});
}
