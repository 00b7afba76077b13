// The cockpit display over the sky: the energy bar and the row of figures
// counting the men brought home.
#include <cmath>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "shapes.h"

namespace {

constexpr int barWidth = 352;
constexpr int barHeight = 24;

// The empty bar: a dark trough in a metal frame.
Canvas barFrame() {
    Canvas c = makeCanvas(barWidth, barHeight);
    fillRoundRect(c, 0, 0, barWidth, barHeight, 5,
                  verticalGradient(0, rgb(150, 156, 170), barHeight, rgb(60, 64, 76)));
    fillRoundRect(c, 3, 3, barWidth - 3, barHeight - 3, 3,
                  verticalGradient(3, rgb(10, 12, 20), barHeight - 3, rgb(30, 34, 46)));
    // Quarter marks so the pilot can judge what is left.
    for (int i = 1; i < 4; ++i)
        fillRect(c, i * barWidth / 4.0 - 0.5, 4, i * barWidth / 4.0 + 0.5, 8, rgb(80, 86, 100));
    return c;
}

// The fill is drawn only as wide as the energy left, from the left end, so
// the left end is red (nearly empty) and the right end green (full).
Canvas barFill() {
    Canvas c = makeCanvas(barWidth, barHeight);
    Paint energy([](double x, double y) {
        double t = x / barWidth;
        Rgb c = t < 0.5 ? mix(rgb(220, 40, 30), rgb(240, 210, 40), t / 0.5)
                        : mix(rgb(240, 210, 40), rgb(60, 210, 70), (t - 0.5) / 0.5);
        // A highlight along the top makes it read as a glowing tube.
        double shine = 1 - std::abs(y - 9) / 9;
        return mix(scale(c, 0.7), mix(c, rgb(255, 255, 255), 0.35), clamp01(shine));
    });
    fillRect(c, 3, 3, barWidth - 3, barHeight - 3, energy);
    return c;
}

Canvas figureIcon(bool lit) {
    Canvas c = makeCanvas(32, 48);
    Rgb body = lit ? rgb(250, 200, 70) : rgb(64, 68, 84);
    Rgb shade = lit ? rgb(200, 120, 30) : rgb(40, 44, 56);
    if (lit) fillGlow(c, 16, 24, 22, rgb(255, 200, 80), 0.25);
    fillCircle(c, 16, 8, 6, body);
    fillRoundRect(c, 8, 15, 24, 32, 4, verticalGradient(15, body, 32, shade));
    drawLine(c, 9, 17, 4, 29, 4, body);
    drawLine(c, 23, 17, 28, 29, 4, body);
    drawLine(c, 12.5, 30, 11.5, 45, 5, shade);
    drawLine(c, 19.5, 30, 20.5, 45, 5, shade);
    return c;
}

}  // namespace

void addHud(std::vector<Picture>& out) {
    out.push_back({resource::bmpBarFill, barFill()});
    out.push_back({resource::bmpBarFrame, barFrame()});
    out.push_back({resource::bmpManLit, figureIcon(true)});
    out.push_back({resource::bmpManDim, figureIcon(false)});
}
