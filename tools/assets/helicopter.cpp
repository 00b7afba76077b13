// The rescue helicopter, seen from the side: five frames of turning rotors,
// facing left, and their mirror images facing right.
#include <cmath>
#include <numbers>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "scenery.h"
#include "shapes.h"

namespace {

// Draws in the helicopter's own 240 x 64 coordinates, placed and scaled.
struct Pen {
    Canvas& canvas;
    double x0;
    double y0;
    double zoom;

    Point p(double x, double y) const { return {x0 + x * zoom, y0 + y * zoom}; }
    std::vector<Point> shape(std::initializer_list<Point> points) const {
        std::vector<Point> out;
        for (const Point& q : points) out.push_back(p(q.x, q.y));
        return out;
    }
    Paint vertical(double top, Rgb a, double bottom, Rgb b) const {
        return verticalGradient(y0 + top * zoom, a, y0 + bottom * zoom, b);
    }
    void polygon(std::initializer_list<Point> points, const Paint& paint) const {
        fillPolygon(canvas, shape(points), paint);
    }
    void line(double ax, double ay, double bx, double by, double width, const Paint& paint) const {
        drawLine(canvas, x0 + ax * zoom, y0 + ay * zoom, x0 + bx * zoom, y0 + by * zoom,
                 width * zoom, paint);
    }
    void roundRect(double ax, double ay, double bx, double by, double r, const Paint& paint) const {
        fillRoundRect(canvas, x0 + ax * zoom, y0 + ay * zoom, x0 + bx * zoom, y0 + by * zoom,
                      r * zoom, paint);
    }
    void ellipse(double cx, double cy, double rx, double ry, const Paint& paint) const {
        fillEllipse(canvas, x0 + cx * zoom, y0 + cy * zoom, rx * zoom, ry * zoom, paint);
    }
    void circle(double cx, double cy, double r, const Paint& paint) const {
        fillCircle(canvas, x0 + cx * zoom, y0 + cy * zoom, r * zoom, paint);
    }
    void glow(double cx, double cy, double r, Rgb c, double alpha) const {
        fillGlow(canvas, x0 + cx * zoom, y0 + cy * zoom, r * zoom, c, alpha);
    }
};

const Rgb metal = rgb(58, 60, 68);
const Rgb bladeDark = rgb(34, 36, 42);

void drawSkids(const Pen& pen) {
    pen.line(62, 46, 56, 59, 2.2, metal);
    pen.line(124, 46, 130, 59, 2.2, metal);
    pen.line(40, 60, 150, 60, 2.6, rgb(78, 80, 90));
    pen.line(32, 55, 40, 60, 2.6, rgb(78, 80, 90));
}

void drawTail(const Pen& pen, int frame) {
    pen.polygon({{136, 22}, {226, 25}, {226, 31}, {136, 42}},
                pen.vertical(22, rgb(200, 72, 48), 42, rgb(110, 32, 28)));
    pen.line(140, 31, 224, 28, 1.6, rgb(228, 228, 232));
    pen.polygon({{210, 29}, {220, 6}, {232, 5}, {231, 31}},
                pen.vertical(5, rgb(190, 66, 44), 31, rgb(120, 36, 30)));
    pen.polygon({{196, 36}, {214, 33}, {214, 37}, {198, 40}}, rgb(150, 46, 36));  // stabiliser
    // The tail rotor spins face-on to us: two blades, a fifth of a half turn per frame.
    double angle = frame * std::numbers::pi / 5;
    for (int blade = 0; blade < 2; ++blade) {
        double a = angle + blade * std::numbers::pi;
        pen.line(221, 18, 221 + 12 * std::cos(a), 18 + 12 * std::sin(a), 2.4, bladeDark);
    }
    pen.circle(221, 18, 2.2, rgb(110, 112, 120));
    pen.glow(232, 5, 5, rgb(255, 70, 50), 0.9);  // tail beacon
    pen.circle(232, 5, 1.4, rgb(255, 170, 150));
}

void drawBody(const Pen& pen) {
    Paint hull = pen.vertical(14, rgb(214, 84, 56), 52, rgb(104, 30, 26));
    pen.roundRect(40, 14, 150, 52, 14, hull);
    pen.ellipse(44, 36, 26, 16, hull);
    pen.roundRect(76, 8, 138, 19, 5,
                  pen.vertical(8, rgb(120, 122, 132), 19, rgb(70, 72, 80)));  // engine
    pen.line(90, 12, 124, 12, 1, rgb(40, 42, 48));
    // The white band and the cabin door.
    pen.polygon({{24, 38}, {150, 34}, {150, 39}, {22, 43}},
                pen.vertical(34, rgb(240, 240, 244), 43, rgb(170, 170, 180)));
    pen.polygon({{96, 20}, {122, 20}, {122, 48}, {96, 48}}, rgb(168, 52, 40));
    pen.line(96, 20, 96, 48, 1, rgb(70, 22, 20));
    pen.line(122, 20, 122, 48, 1, rgb(70, 22, 20));
    pen.roundRect(100, 23, 118, 32, 2, pen.vertical(23, rgb(70, 110, 150), 32, rgb(30, 46, 70)));
    pen.roundRect(130, 22, 146, 31, 2, pen.vertical(22, rgb(70, 110, 150), 31, rgb(30, 46, 70)));
    // Cockpit glass, lit from inside by the instruments.
    pen.polygon({{22, 33}, {34, 19}, {70, 16}, {74, 33}},
                pen.vertical(16, rgb(110, 160, 200), 33, rgb(30, 52, 84)));
    pen.line(50, 17, 52, 33, 1.4, rgb(60, 40, 40));
    pen.glow(46, 30, 10, rgb(120, 255, 220), 0.35);
    pen.line(28, 24, 40, 18, 1, rgb(220, 240, 255));  // glint of the moon
    // Searchlight under the nose.
    pen.circle(34, 50, 3, rgb(80, 80, 88));
    pen.circle(33, 50, 1.8, rgb(255, 250, 220));
    pen.glow(31, 50, 7, rgb(255, 250, 200), 0.7);
    pen.glow(150, 44, 4, rgb(80, 255, 120), 0.8);  // navigation light
}

void drawMainRotor(const Pen& pen, int frame) {
    pen.line(104, 4, 104, 10, 3, metal);  // mast
    // Four blades seen edge-on: each one's length on screen follows the
    // cosine of its angle; a twentieth of a turn per frame.
    double angle = frame * (std::numbers::pi / 2) / 5 + 0.3;
    for (int blade = 0; blade < 4; ++blade) {
        double a = angle + blade * std::numbers::pi / 2;
        double reach = 100 * std::cos(a);
        double lift = 2.2 * std::sin(a);
        pen.line(104, 4, 104 + reach, 4 + lift, 2.4, bladeDark);
        if (std::abs(reach) > 20)
            pen.line(104 + reach * 0.92, 4 + lift * 0.92, 104 + reach, 4 + lift, 2.4,
                     rgb(200, 200, 60));
    }
    pen.circle(104, 4, 3, rgb(96, 98, 108));
}

}  // namespace

void drawHelicopter(Canvas& canvas, double x, double y, int frame, double zoom) {
    Pen pen{canvas, x, y, zoom};
    drawSkids(pen);
    drawTail(pen, frame);
    drawBody(pen);
    drawMainRotor(pen, frame);
}

void addHelicopter(std::vector<Picture>& out) {
    const int facingLeft[5] = {resource::bmpHeliLeft1, resource::bmpHeliLeft2,
                               resource::bmpHeliLeft3, resource::bmpHeliLeft4,
                               resource::bmpHeliLeft5};
    const int facingRight[5] = {resource::bmpHeliRight1, resource::bmpHeliRight2,
                                resource::bmpHeliRight3, resource::bmpHeliRight4,
                                resource::bmpHeliRight5};
    for (int frame = 0; frame < 5; ++frame) {
        Canvas canvas = makeCanvas(240, 64);
        drawHelicopter(canvas, 0, 0, frame);
        out.push_back({facingRight[frame], mirrored(canvas)});
        out.push_back({facingLeft[frame], std::move(canvas)});
    }
}
