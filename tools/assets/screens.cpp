// The full-screen pictures: title, mission briefing, and the two endings.
// They show the game's own world: the same sky, course and helicopter.
#include "catalogue.h"
#include "formats/resource_ids.h"
#include "scenery.h"
#include "shapes.h"
#include "text.h"

namespace {

constexpr int screenWidth = 640;
constexpr int screenHeight = 480;

// The sky from `skyX` and the course from `courseX`, as the game shows them.
Canvas nightScene(int skyX, int courseX) {
    Canvas screen = makeCanvas(screenWidth, screenHeight, night::skyTop);
    Canvas sky = skyPanorama();
    Canvas course = courseStrip();
    // The sky wraps around, as it does in the game.
    drawCanvas(screen, crop(sky, skyX, 0, screenWidth, 352), 0, 0);
    if (skyX + screenWidth > sky.width)
        drawCanvas(screen, crop(sky, 0, 0, screenWidth, 352), sky.width - skyX, 0);
    drawCanvas(screen, crop(course, courseX, 0, screenWidth, 192), 0, 288);
    return screen;
}

const TextLook headline{Font::Bold, 44, rgb(255, 236, 180), rgb(20, 10, 6), 3};
const TextLook prompt{Font::Bold, 18, rgb(235, 240, 255), rgb(0, 0, 10), 2};

void pressReturn(Canvas& screen) {
    fillRoundRect(screen, 230, 262, 410, 292, 8, rgb(10, 12, 26), 0.75);
    drawTextCentred(screen, "Press Return", 320, 283, prompt);
}

Canvas title() {
    Canvas screen = nightScene(520, 1920);
    drawCanvas(screen, moonPicture(130), 24, 128);
    TextLook name{Font::Bold, 84, rgb(255, 210, 110), rgb(30, 10, 0), 4};
    fillGlow(screen, 320, 70, 260, rgb(255, 150, 60), 0.12);
    drawTextCentred(screen, "KORDAVAN", 320, 100, name);
    drawTextCentred(screen, "Night Rescue", 320, 132,
                    TextLook{Font::Bold, 20, rgb(200, 220, 255), rgb(0, 0, 20), 2});
    drawHelicopter(screen, 50, 244, 1, 1.05);
    // The quiet window behind the scrolling credits.
    fillRoundRect(screen, 314, 146, 614, 289, 10, rgb(120, 130, 170));
    fillRoundRect(screen, 317, 149, 611, 286, 8,
                  verticalGradient(149, rgb(8, 10, 28), 286, rgb(16, 20, 44)));
    fillRoundRect(screen, 200, 316, 440, 344, 8, rgb(10, 12, 26), 0.75);
    drawTextCentred(screen, "Press Space to fly", 320, 337, prompt);
    return screen;
}

// A map of the course, base on the right, as the pilot is shown it.
void drawCourseMap(Canvas& screen) {
    double y = 236;
    fillRoundRect(screen, 40, 176, 600, 262, 10, rgb(10, 18, 34), 0.9);
    strokeRect(screen, 40, 176, 600, 262, 1.5, rgb(70, 100, 150));
    drawLine(screen, 60, y, 580, y, 3, rgb(90, 110, 90));
    fillRect(screen, 360, y - 1, 470, y + 6, rgb(40, 80, 150));  // sea
    TextLook label{Font::Regular, 12, rgb(200, 215, 240), rgb(0, 0, 0), 1};
    fillRect(screen, 520, y - 18, 560, y, rgb(90, 92, 104));
    fillRect(screen, 534, y - 14, 546, y - 4, rgb(210, 30, 30));
    drawTextCentred(screen, "BASE", 540, y + 18, label);
    drawMan(screen, 74, y - 32, 3);
    drawTextCentred(screen, "MAN", 86, y + 18, label);
    drawTextCentred(screen, "crushers", 330, y + 18, label);
    fillRect(screen, 250, y - 18, 258, y, rgb(170, 170, 180));
    fillRect(screen, 380, y - 18, 388, y, rgb(170, 170, 180));
    drawTextCentred(screen, "launcher", 216, y + 18, label);
    fillCircle(screen, 206, y - 6, 6, rgb(120, 126, 140));
    drawLine(screen, 206, y - 6, 214, y - 18, 3, rgb(120, 126, 140));
    drawTextCentred(screen, "sub", 420, y + 18, label);
    drawLine(screen, 500, 196, 120, 196, 2, rgb(255, 210, 110));
    fillPolygon(screen, {{112, 196}, {124, 190}, {124, 202}}, rgb(255, 210, 110));
}

Canvas briefing() {
    Canvas screen = makeCanvas(screenWidth, screenHeight);
    fillRect(screen, 0, 0, screenWidth, screenHeight,
             verticalGradient(0, rgb(6, 10, 28), screenHeight, rgb(14, 20, 44)));
    for (int x = 0; x < screenWidth; x += 32)
        fillRect(screen, x, 0, x + 1, screenHeight, rgb(40, 60, 100), 0.25);
    for (int y = 0; y < screenHeight; y += 32)
        fillRect(screen, 0, y, screenWidth, y + 1, rgb(40, 60, 100), 0.25);
    drawTextCentred(screen, "MISSION BRIEFING", 320, 56,
                    TextLook{Font::Bold, 36, rgb(255, 210, 110), rgb(20, 10, 0), 3});
    TextLook body{Font::Regular, 17, rgb(225, 232, 250), rgb(0, 0, 0), 1.5};
    drawTextCentred(screen, "A man is stranded at the far end of the valley.", 320, 100, body);
    drawTextCentred(screen, "Fly there, land, pick him up and bring him back to the base.", 320,
                    124, body);
    drawTextCentred(screen, "Seven rescues complete the mission.", 320, 148, body);
    drawCourseMap(screen);
    TextLook key{Font::Bold, 17, rgb(255, 220, 140), rgb(0, 0, 0), 1.5};
    const char* keys[4][2] = {
        {"Arrow keys", "fly"}, {"L", "land"}, {"Space", "start"}, {"Escape", "quit"}};
    for (int i = 0; i < 4; ++i) {
        double y = 298 + (i % 2) * 26;
        double x = i < 2 ? 120 : 360;
        drawText(screen, keys[i][0], x, y, key);
        drawText(screen, keys[i][1], x + 128, y, body);
    }
    // The loading bar is drawn by the game at y 380..404.
    drawTextCentred(screen, "Loading", 320, 372,
                    TextLook{Font::Bold, 14, rgb(150, 170, 210), rgb(0, 0, 0), 0});
    return screen;
}

Canvas success() {
    Canvas screen = nightScene(760, 1920);
    drawCanvas(screen, moonPicture(120), 500, 20);
    // The helicopter home on its pad, the rescued men walking to the door.
    drawHelicopter(screen, 212, 403, 2);
    drawMan(screen, 456, 434, 0);
    drawMan(screen, 432, 434, 1);
    // The seven men who were brought home, waving.
    for (int i = 0; i < 7; ++i) drawMan(screen, 236 + i * 24, 300, 3);
    drawTextCentred(screen, "MISSION ACCOMPLISHED", 320, 170, headline);
    drawTextCentred(screen, "All seven men are safe at the base.", 320, 206, prompt);
    pressReturn(screen);
    return screen;
}

Canvas failure() {
    Canvas screen = nightScene(100, 1280);
    // Red glow of the wreck burning on the shore.
    fillGlow(screen, 300, 440, 180, rgb(255, 80, 30), 0.35);
    for (int i = 0; i < 6; ++i)
        fillGlow(screen, 300 + i * 14, 420 - i * 40, 40 + i * 10, rgb(50, 44, 48), 0.7);
    fillPolygon(screen, {{250, 466}, {270, 446}, {330, 440}, {350, 466}}, rgb(60, 26, 22));
    drawLine(screen, 260, 444, 340, 420, 3, rgb(40, 40, 46));
    fillGlow(screen, 300, 450, 28, rgb(255, 190, 80), 0.9);
    drawTextCentred(screen, "MISSION FAILED", 320, 170,
                    TextLook{Font::Bold, 52, rgb(255, 90, 70), rgb(20, 0, 0), 3});
    drawTextCentred(screen, "The valley waits for another night.", 320, 206, prompt);
    pressReturn(screen);
    return screen;
}

}  // namespace

void addScreens(std::vector<Picture>& out) {
    out.push_back({resource::bmpTitle, title()});
    out.push_back({resource::bmpLoading, briefing()});
    out.push_back({resource::bmpGameOver, failure()});
    out.push_back({resource::bmpWin, success()});
}
