// The course the helicopter flies over, drawn as one 2560-pixel strip and
// cut into its four segments, so every join is seamless. Segment 3 (the far
// landing field) is leftmost, segment 0 (the base) rightmost.
#include <algorithm>
#include <cmath>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "rng.h"
#include "scenery.h"
#include "shapes.h"

namespace {

constexpr int stripWidth = 2560;
constexpr int stripHeight = 192;
// Men walk and the helicopter lands on this row all along the course.
constexpr int groundRow = 178;
constexpr int seaRow = 172;

// Where x of a segment lies on the strip.
double at(int segment, double x) {
    return (3 - segment) * 640.0 + x;
}

double skylineRow(int x) {
    // Everything below row 64 must be solid, so the hills never dip lower.
    double n = fractalNoise(x / 140.0, 0.3, 301, 5, stripWidth / 140);
    return 14 + 44 * (1 - n);
}

void drawBackHills(Canvas& strip) {
    for (int x = 0; x < strip.width; ++x) {
        double top = skylineRow(x);
        for (int y = static_cast<int>(top) - 1; y < strip.height; ++y) {
            double depth = clamp01((y - top) / 90.0);
            Rgb c = mix(rgb(30, 34, 60), rgb(16, 20, 36), depth);
            if (y - top < 1.5) c = mix(c, rgb(70, 76, 110), 0.5);  // moonlit crest
            blendPixel(strip, x, y, c, clamp01(y + 1 - top));
        }
    }
}

// A dark band of woods and meadows between the hills and the ground.
void drawWoods(Canvas& strip) {
    for (int x = 0; x < strip.width; ++x) {
        double top = 128 + 22 * (1 - fractalNoise(x / 90.0, 7.7, 402, 4, stripWidth / 90));
        for (int y = static_cast<int>(top) - 1; y < groundRow; ++y) {
            Rgb c = mix(rgb(18, 26, 34), rgb(10, 14, 20), clamp01((y - top) / 40.0));
            blendPixel(strip, x, y, c, clamp01(y + 1 - top));
        }
    }
    Rng rng{0x7EE5};
    for (int i = 0; i < 170; ++i) {
        double x = uniform(rng, 0, stripWidth);
        double height = uniform(rng, 18, 46);
        double base = uniform(rng, 150, 176);
        double half = height * uniform(rng, 0.22, 0.32);
        Rgb c = mix(rgb(12, 20, 26), rgb(20, 32, 38), uniform(rng));
        fillPolygon(strip, {{x, base - height}, {x + half, base}, {x - half, base}}, c);
        drawLine(strip, x - half * 0.4, base - height * 0.45, x, base - height + 2, 1,
                 rgb(44, 58, 70), 0.5);
    }
}

// Lit farm windows far off in the woods and a few houses' roofs.
void drawFarms(Canvas& strip) {
    const double farms[] = {at(3, 120), at(3, 420), at(2, 90), at(2, 380), at(1, 150), at(0, 60)};
    Rng rng{0xFA4};
    for (double x : farms) {
        double base = uniform(rng, 150, 160);
        double w = uniform(rng, 22, 34);
        fillRect(strip, x, base - 12, x + w, base, rgb(22, 22, 30));
        fillPolygon(strip, {{x - 3, base - 12}, {x + w / 2, base - 22}, {x + w + 3, base - 12}},
                    rgb(30, 28, 36));
        fillRect(strip, x + 5, base - 9, x + 9, base - 5, night::lampLight);
        if (uniform(rng) < 0.6)
            fillRect(strip, x + w - 10, base - 9, x + w - 6, base - 5, rgb(255, 190, 110));
        fillGlow(strip, x + 7, base - 7, 8, night::lampLight, 0.25);
    }
}

// Nearer trees, darker and taller, standing just behind the ground.
void drawNearTrees(Canvas& strip) {
    Rng rng{0x7EE6};
    for (int i = 0; i < 60; ++i) {
        double x = uniform(rng, 0, stripWidth);
        // Keep the base and the far field open for landing.
        if ((x > at(0, 200) && x < at(0, 640)) || x < at(3, 570)) continue;
        double height = uniform(rng, 40, 70);
        double half = height * 0.26;
        double base = groundRow + 1;
        drawLine(strip, x, base, x, base - 8, 3, rgb(20, 16, 16));
        for (int tier = 0; tier < 3; ++tier) {
            double top = base - height + tier * height * 0.22;
            double bottom = base - 6 - (2 - tier) * height * 0.12;
            double spread = half * (0.6 + tier * 0.25);
            fillPolygon(strip, {{x, top}, {x + spread, bottom}, {x - spread, bottom}},
                        verticalGradient(top, rgb(22, 40, 40), bottom, rgb(8, 16, 18)));
        }
        drawLine(strip, x - 1, base - height + 3, x - half * 0.5, base - height * 0.55, 1,
                 rgb(70, 90, 100), 0.45);
    }
}

// Boulders and bushes along the ground.
void drawRocks(Canvas& strip) {
    Rng rng{0x80C};
    for (int i = 0; i < 40; ++i) {
        double x = uniform(rng, 0, stripWidth);
        bool open = (x > at(0, 200) && x < at(0, 640)) || (x > at(1, 270) && x < at(1, 650)) ||
                    x < at(3, 560) || (x > at(2, 560) && x < at(2, 730)) ||
                    (x > at(2, 200) && x < at(2, 284)) || (x > at(1, 280) && x < at(1, 364));
        if (open) continue;
        double r = uniform(rng, 3, 7);
        if (uniform(rng) < 0.5) {
            fillEllipse(
                strip, x, groundRow + 1 - r * 0.5, r * 1.4, r,
                verticalGradient(groundRow - r, rgb(96, 96, 104), groundRow + 1, rgb(40, 40, 48)));
        } else {
            for (int k = 0; k < 4; ++k)
                fillCircle(strip, x + (k - 1.5) * r * 0.8, groundRow - r * 0.6 - (k % 2) * r * 0.4,
                           r * 0.9, rgb(18, 34, 28));
        }
    }
}

void drawGround(Canvas& strip) {
    for (int y = groundRow; y < strip.height; ++y) {
        for (int x = 0; x < strip.width; ++x) {
            double grain = fractalNoise(x / 6.0, y / 3.0, 503, 3, stripWidth / 6);
            Rgb soil = mix(rgb(38, 34, 30), rgb(22, 20, 20), clamp01((y - groundRow) / 14.0));
            soil = mix(soil, rgb(54, 48, 40), grain * 0.5);
            if (y < groundRow + 2)
                soil = mix(rgb(58, 78, 62), rgb(40, 56, 46), y - groundRow);  // grass edge
            pixelAt(strip, x, y) = {soil, 1.0};
        }
    }
    Rng rng{0x6A55};
    for (int i = 0; i < 900; ++i) {
        double x = uniform(rng, 0, stripWidth);
        drawLine(strip, x, groundRow + 1, x + uniform(rng, -1.5, 1.5),
                 groundRow - uniform(rng, 1, 4), 1, rgb(50, 72, 58), 0.8);
    }
}

void drawLamp(Canvas& strip, double x, double top, Rgb light) {
    drawLine(strip, x, top, x, groundRow, 2, rgb(40, 42, 48));
    fillGlow(strip, x, top, 10, light, 0.5);
    fillCircle(strip, x, top, 2, mix(light, rgb(255, 255, 255), 0.5));
}

// The base: a landing pad and the rescue station with its door.
void drawBase(Canvas& strip) {
    double padLeft = at(0, 228);
    double padRight = at(0, 452);
    fillRect(strip, padLeft, groundRow - 2, padRight, groundRow + 6,
             verticalGradient(groundRow - 2, rgb(96, 98, 104), groundRow + 6, rgb(52, 54, 60)));
    for (double x = padLeft + 12; x < padRight - 12; x += 28)
        fillRect(strip, x, groundRow - 2, x + 14, groundRow, rgb(220, 190, 70));
    for (double x = padLeft + 4; x <= padRight; x += 44) {
        fillGlow(strip, x, groundRow - 4, 6, rgb(90, 170, 255), 0.6);
        fillCircle(strip, x, groundRow - 4, 1.6, rgb(180, 220, 255));
    }

    double left = at(0, 448);
    double right = at(0, 636);
    double roof = 100;
    fillRect(strip, left, roof, right, groundRow,
             verticalGradient(roof, rgb(70, 72, 82), groundRow, rgb(40, 42, 50)));
    fillRect(strip, left - 4, roof - 6, right + 2, roof, rgb(88, 90, 100));
    // Windows lit from inside: the crew waits for the helicopter.
    for (int row = 0; row < 2; ++row) {
        for (double x = left + 48; x + 20 < right - 6; x += 32) {
            double y = roof + 14 + row * 30;
            fillRect(strip, x, y, x + 20, y + 14,
                     verticalGradient(y, rgb(255, 220, 140), y + 14, rgb(200, 140, 60)));
            fillRect(strip, x + 9, y, x + 11, y + 14, rgb(60, 50, 40));
        }
    }
    // The red cross tells the pilot where home is.
    double cx = left + 118;
    fillRect(strip, cx - 18, roof - 34, cx + 18, roof - 6, rgb(235, 235, 240));
    fillRect(strip, cx - 4, roof - 31, cx + 4, roof - 9, rgb(210, 30, 30));
    fillRect(strip, cx - 12, roof - 24, cx + 12, roof - 16, rgb(210, 30, 30));
    // The open door the rescued men walk into.
    double doorLeft = at(0, 456);
    double doorRight = at(0, 484);
    fillRect(strip, doorLeft - 2, 136, doorRight + 2, groundRow, rgb(30, 30, 36));
    fillRect(strip, doorLeft, 139, doorRight, groundRow,
             verticalGradient(139, rgb(255, 210, 130), groundRow, rgb(230, 150, 70)));
    fillGlow(strip, (doorLeft + doorRight) / 2, 131, 16, night::lampLight, 0.7);
    fillRect(strip, doorLeft + 8, 128, doorRight - 8, 132, rgb(255, 240, 200));
    // Radio mast with its warning light.
    drawLine(strip, right - 20, roof - 6, right - 20, roof - 60, 2, rgb(90, 92, 100));
    drawLine(strip, right - 26, roof - 40, right - 14, roof - 40, 1.5, rgb(90, 92, 100));
    fillGlow(strip, right - 20, roof - 62, 9, rgb(255, 60, 40), 0.8);
    fillCircle(strip, right - 20, roof - 62, 2, rgb(255, 150, 120));
    drawLamp(strip, at(0, 214), 150, night::lampLight);
}

// The sea between the stone shore and the base's quay.
void drawSea(Canvas& strip) {
    double left = at(1, 330);
    double right = at(1, 630);
    for (int y = seaRow; y < strip.height; ++y) {
        for (int x = static_cast<int>(left); x < static_cast<int>(right); ++x) {
            double depth = clamp01((y - seaRow) / 19.0);
            Rgb water = mix(rgb(30, 50, 86), rgb(8, 16, 34), depth);
            double ripple = fractalNoise(x / 14.0, y / 1.5, 611, 3);
            water = mix(water, rgb(120, 140, 190), clamp01(ripple - 0.55) * 1.2 * (1 - depth));
            pixelAt(strip, x, y) = {water, 1.0};
        }
    }
    // Moonlight glitters along the surface.
    for (int x = static_cast<int>(left); x < static_cast<int>(right); ++x) {
        double glint = hashNoise(x / 3, 1, 612);
        pixelAt(strip, x, seaRow) = {
            mix(rgb(70, 92, 140), night::moonlight, glint > 0.7 ? 0.8 : 0.2), 1.0};
    }
    // Stone shore on the left, where the first crusher pillar stands.
    for (int y = groundRow - 2; y < strip.height; ++y) {
        double edge = at(1, 332) + (y - groundRow) * 0.9;
        for (int x = static_cast<int>(at(1, 284)); x < static_cast<int>(edge) + 1; ++x) {
            double block = hashNoise(x / 10, (y + (x / 10) % 2 * 4) / 7, 613);
            Rgb stone = mix(rgb(64, 64, 70), rgb(92, 90, 96), block);
            if ((x % 10 == 0) || ((y + (x / 10) % 2 * 4) % 7 == 0)) stone = rgb(34, 34, 40);
            blendPixel(strip, x, y, stone, clamp01(edge + 1 - x));
        }
    }
    // The base's concrete quay on the right.
    fillRect(strip, right - 4, groundRow - 2, at(0, 40), strip.height,
             verticalGradient(groundRow, rgb(86, 88, 94), strip.height, rgb(44, 46, 52)));
    fillRect(strip, right - 4, groundRow - 2, at(0, 40), groundRow, rgb(120, 122, 128));
}

// The far end: a flat field marked with lights where the man waits.
void drawFarField(Canvas& strip) {
    for (double x = at(3, 16); x < at(3, 560); x += 48) {
        fillGlow(strip, x, groundRow - 3, 6, rgb(255, 200, 90), 0.6);
        fillCircle(strip, x, groundRow - 3, 1.5, rgb(255, 230, 160));
    }
    // A windsock at the edge of the field.
    double pole = at(3, 590);
    drawLine(strip, pole, groundRow, pole, 120, 2, rgb(120, 120, 128));
    fillPolygon(strip, {{pole, 121}, {pole - 26, 126}, {pole - 26, 130}, {pole, 133}},
                rgb(220, 110, 40));
    fillRect(strip, pole - 17, 123, pole - 11, 132, rgb(230, 230, 230));
    drawLamp(strip, at(3, 620), 146, night::lampLight);
    // The stranded man's campfire, left of the field where he waits.
    double fire = at(3, 30);
    fillGlow(strip, fire, groundRow - 6, 40, rgb(255, 120, 40), 0.35);
    fillPolygon(strip,
                {{fire - 6, groundRow},
                 {fire - 3, groundRow - 10},
                 {fire, groundRow - 4},
                 {fire + 2, groundRow - 13},
                 {fire + 6, groundRow}},
                rgb(255, 150, 40));
    fillPolygon(strip, {{fire - 3, groundRow}, {fire + 1, groundRow - 7}, {fire + 3, groundRow}},
                rgb(255, 240, 170));
    drawLine(strip, fire - 8, groundRow + 1, fire + 8, groundRow - 1, 2, rgb(60, 36, 24));
}

// Gravel under the launcher and its pillar, in segment 2.
void drawLauncherGround(Canvas& strip) {
    fillRect(strip, at(2, 572), groundRow - 1, at(2, 716), groundRow + 5,
             verticalGradient(groundRow - 1, rgb(70, 66, 60), groundRow + 5, rgb(40, 38, 36)));
    drawLamp(strip, at(2, 420), 152, rgb(255, 120, 80));
}

}  // namespace

Canvas courseStrip() {
    Canvas strip = makeCanvas(stripWidth, stripHeight);
    drawBackHills(strip);
    drawWoods(strip);
    drawFarms(strip);
    drawGround(strip);
    drawNearTrees(strip);
    drawRocks(strip);
    drawFarField(strip);
    drawLauncherGround(strip);
    drawSea(strip);
    drawBase(strip);
    return strip;
}

void addTerrain(std::vector<Picture>& out) {
    Canvas strip = courseStrip();
    const int ids[4] = {resource::bmpTerrain0, resource::bmpTerrain1, resource::bmpTerrain2,
                        resource::bmpTerrain3};
    for (int segment = 0; segment < 4; ++segment)
        out.push_back({ids[segment], crop(strip, (3 - segment) * 640, 0, 640, stripHeight)});
}
