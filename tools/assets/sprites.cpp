// The small moving things: the men waiting for rescue, the submarine and
// its rocket, the orb, the moon and the window icon.
#include <cmath>

#include "catalogue.h"
#include "emblem.h"
#include "formats/resource_ids.h"
#include "scenery.h"
#include "shapes.h"

namespace {

const Rgb skin = rgb(226, 178, 140);
const Rgb jacket = rgb(236, 150, 40);  // bright so the pilot can spot him
const Rgb trousers = rgb(60, 70, 110);
const Rgb boots = rgb(40, 32, 30);

void drawManSideways(Canvas& c, double s, int pose) {
    // Legs and arms swing through three steps.
    const double swing[3] = {-0.45, 0.0, 0.45};
    double a = swing[pose];
    auto limb = [&](double x0, double y0, double angle, double length, double width, Rgb colour) {
        double x1 = x0 + std::sin(angle) * length;
        double y1 = y0 + std::cos(angle) * length;
        drawLine(c, x0 * s, y0 * s, x1 * s, y1 * s, width * s, colour);
        return Point{x1, y1};
    };
    limb(12, 12, -a * 0.8, 8, 2.6, rgb(190, 110, 30));  // far arm
    Point farFoot = limb(12, 20, -a, 10, 3.2, rgb(44, 52, 84));
    drawLine(c, farFoot.x * s, farFoot.y * s, (farFoot.x + 2.5) * s, farFoot.y * s, 2.4 * s, boots);
    fillRoundRect(c, 8.5 * s, 9 * s, 15.5 * s, 21 * s, 2.5 * s,
                  verticalGradient(9 * s, jacket, 21 * s, rgb(180, 100, 20)));
    fillRect(c, 8.5 * s, 15 * s, 15.5 * s, 16.5 * s, rgb(230, 230, 200));  // reflective band
    Point nearFoot = limb(12, 20, a, 10, 3.2, trousers);
    drawLine(c, nearFoot.x * s, nearFoot.y * s, (nearFoot.x + 2.5) * s, nearFoot.y * s, 2.4 * s,
             boots);
    limb(12, 11.5, a * 0.8, 8, 2.6, jacket);
    fillCircle(c, 12.5 * s, 5.5 * s, 3.6 * s, skin);
    fillEllipse(c, 12 * s, 3.4 * s, 4 * s, 2.2 * s, rgb(60, 40, 30));  // hair
    fillCircle(c, 15 * s, 5.4 * s, 0.7 * s, rgb(30, 20, 20));
}

void drawManFront(Canvas& c, double s) {
    // Waving both arms at the helicopter.
    drawLine(c, 8.5 * s, 11 * s, 3.5 * s, 3 * s, 2.6 * s, jacket);
    drawLine(c, 15.5 * s, 11 * s, 20.5 * s, 3 * s, 2.6 * s, jacket);
    fillCircle(c, 3.5 * s, 2.5 * s, 1.5 * s, skin);
    fillCircle(c, 20.5 * s, 2.5 * s, 1.5 * s, skin);
    fillRoundRect(c, 7.5 * s, 9 * s, 16.5 * s, 21 * s, 2.5 * s,
                  verticalGradient(9 * s, jacket, 21 * s, rgb(180, 100, 20)));
    fillRect(c, 7.5 * s, 15 * s, 16.5 * s, 16.5 * s, rgb(230, 230, 200));
    drawLine(c, 10 * s, 21 * s, 9.5 * s, 30 * s, 3.2 * s, trousers);
    drawLine(c, 14 * s, 21 * s, 14.5 * s, 30 * s, 3.2 * s, trousers);
    fillRect(c, 7.5 * s, 29.5 * s, 11.5 * s, 31.5 * s, boots);
    fillRect(c, 12.5 * s, 29.5 * s, 16.5 * s, 31.5 * s, boots);
    fillCircle(c, 12 * s, 5.5 * s, 3.8 * s, skin);
    fillEllipse(c, 12 * s, 3.2 * s, 4 * s, 2.2 * s, rgb(60, 40, 30));
    fillCircle(c, 10.6 * s, 5.8 * s, 0.7 * s, rgb(30, 20, 20));
    fillCircle(c, 13.4 * s, 5.8 * s, 0.7 * s, rgb(30, 20, 20));
}

Canvas submarine() {
    Canvas c = makeCanvas(160, 28);
    Paint steel = verticalGradient(0, rgb(96, 104, 118), 28, rgb(30, 34, 44));
    // Only the top rows show as it surfaces: the tower comes first.
    fillRoundRect(c, 62, 1, 96, 16, 5, steel);
    fillPolygon(c, {{66, 1}, {92, 1}, {96, 5}, {62, 5}}, rgb(120, 128, 142));
    drawLine(c, 78, 1, 78, 0, 1.5, rgb(140, 140, 150));
    fillCircle(c, 70, 8, 1.6, rgb(255, 220, 120));
    fillCircle(c, 76, 8, 1.6, rgb(255, 220, 120));
    fillEllipse(c, 80, 20, 78, 8, steel);
    fillRect(c, 8, 18, 150, 19, rgb(140, 150, 170));
    fillPolygon(c, {{150, 14}, {159, 10}, {159, 26}, {150, 24}}, rgb(50, 56, 68));  // tail fin
    fillRect(c, 104, 14, 112, 16, rgb(120, 128, 142));                              // hatch
    return c;
}

Canvas rocket() {
    Canvas c = makeCanvas(24, 60);
    Paint body = horizontalGradient(7, rgb(150, 152, 160), 17, rgb(70, 72, 82));
    fillPolygon(c, {{12, 0}, {17, 12}, {7, 12}}, rgb(210, 40, 30));  // nose
    fillRect(c, 7, 11, 17, 48, body);
    fillRect(c, 7, 20, 17, 23, rgb(210, 40, 30));
    fillPolygon(c, {{7, 36}, {1, 50}, {1, 54}, {7, 48}}, rgb(180, 40, 30));  // fins
    fillPolygon(c, {{17, 36}, {23, 50}, {23, 54}, {17, 48}}, rgb(130, 30, 24));
    fillRect(c, 9, 48, 15, 51, rgb(50, 50, 56));
    fillEllipse(c, 12, 55, 3.5, 5, rgb(255, 200, 80));  // exhaust flame
    fillEllipse(c, 12, 53.5, 2, 3, rgb(255, 250, 220));
    return c;
}

Canvas orb() {
    Canvas c = makeCanvas(32, 32);
    fillGlow(c, 16, 16, 16, rgb(255, 120, 60), 1.6);
    fillCircle(c, 16, 16, 9, radialGradient(13, 13, 10, rgb(255, 255, 220), rgb(255, 110, 40)));
    fillCircle(c, 13, 13, 3, rgb(255, 255, 255), 0.8);
    return c;
}

}  // namespace

Canvas moonPicture(int size) {
    Canvas c = makeCanvas(size, size);
    double r = size / 2.0;
    fillGlow(c, r, r, r, rgb(150, 160, 200), 0.6);
    double body = r * 0.62;
    fillCircle(c, r, r, body,
               radialGradient(r - body * 0.3, r - body * 0.3, body * 1.5, rgb(250, 248, 230),
                              rgb(170, 172, 180)));
    // Seas and craters.
    const double spots[][3] = {{-0.3, -0.2, 0.25}, {0.25, 0.1, 0.3},   {-0.1, 0.4, 0.18},
                               {0.35, -0.4, 0.12}, {-0.45, 0.25, 0.1}, {0.05, -0.5, 0.1}};
    for (const auto& s : spots)
        fillCircle(c, r + s[0] * body, r + s[1] * body, s[2] * body, rgb(150, 150, 160), 0.45);
    return c;
}

void drawMan(Canvas& canvas, double x, double y, int pose, double zoom, bool mirror) {
    Canvas man =
        makeCanvas(static_cast<int>(std::ceil(24 * zoom)), static_cast<int>(std::ceil(32 * zoom)));
    if (pose == 3)
        drawManFront(man, zoom);
    else
        drawManSideways(man, zoom, pose);
    drawCanvas(canvas, man, static_cast<int>(x), static_cast<int>(y), mirror);
}

void addSprites(std::vector<Picture>& out) {
    const int right[3] = {resource::bmpManRight1, resource::bmpManRight2, resource::bmpManRight3};
    const int left[3] = {resource::bmpManLeft1, resource::bmpManLeft2, resource::bmpManLeft3};
    for (int pose = 0; pose < 3; ++pose) {
        Canvas c = makeCanvas(24, 32);
        drawMan(c, 0, 0, pose);
        out.push_back({left[pose], mirrored(c)});
        out.push_back({right[pose], std::move(c)});
    }
    Canvas front = makeCanvas(24, 32);
    drawMan(front, 0, 0, 3);
    out.push_back({resource::bmpManFront, std::move(front)});
    out.push_back({resource::bmpSubmarine, submarine()});
    out.push_back({resource::bmpRocket, rocket()});
    out.push_back({resource::bmpOrb, orb()});
    out.push_back({resource::bmpMoon, moonPicture(160)});
    out.push_back({iconId, emblem(32)});
}
