// The credits panel that scrolls in the title screen's window. It is drawn
// on the key colour so the title shows through; every letter carries a dark
// outline, so its antialiasing is against the outline and never the key.
#include <string>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "shapes.h"
#include "text.h"

namespace {

constexpr int panelWidth = 288;
constexpr int panelHeight = 608;

struct Line {
    const char* text;
    char kind;  // 'h' heading, 't' text, 's' space
};

const Line lines[] = {
    {"KORDAVAN", 'T'},
    {"a night rescue", 't'},
    {"", 's'},
    {"", 's'},
    {"PILOT'S ORDERS", 'h'},
    {"Fly to the far end,", 't'},
    {"land by the man,", 't'},
    {"bring him home.", 't'},
    {"Seven men to save.", 't'},
    {"", 's'},
    {"CONTROLS", 'h'},
    {"Arrows - fly", 't'},
    {"L - land", 't'},
    {"Space - start", 't'},
    {"Escape - quit", 't'},
    {"", 's'},
    {"WATCH OUT FOR", 'h'},
    {"crushers, the launcher,", 't'},
    {"the submarine's rockets", 't'},
    {"", 's'},
    {"MADE BY", 'h'},
    {"the Kordavan team", 't'},
    {"pictures and sounds", 't'},
    {"made by our own tools", 't'},
    {"", 's'},
    {"Good luck, pilot.", 'h'},
};

}  // namespace

void addCredits(std::vector<Picture>& out) {
    Canvas panel = makeCanvas(panelWidth, panelHeight);
    TextLook titleLook{Font::Bold, 40, rgb(255, 210, 110), rgb(16, 8, 0), 2.5};
    TextLook headingLook{Font::Bold, 18, rgb(140, 200, 255), rgb(0, 0, 12), 2};
    TextLook textLook{Font::Bold, 16, rgb(235, 238, 250), rgb(0, 0, 12), 2};
    double y = 60;
    for (const Line& line : lines) {
        const TextLook& look = line.kind == 'T'   ? titleLook
                               : line.kind == 'h' ? headingLook
                                                  : textLook;
        if (line.kind == 's') {
            y += 12;
            continue;
        }
        drawTextCentred(panel, line.text, panelWidth / 2.0, y, look);
        y += line.kind == 'T' ? 30 : 24;
    }
    out.push_back({resource::bmpCredits, std::move(panel)});
}
