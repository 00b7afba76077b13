// Presses, taps and dropped files through the SDL back end, on SDL's
// stand-in video driver: the events SDL makes of a touch screen and a file
// manager reach the game as places on the picture and paths, by both ways a
// frame reaches the window. (Real clicks and drags on a real X window are
// tests/e2e/pointer_and_drops.sh.)

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "tests/sdl_test_support.h"

namespace {

using namespace platform;
using sdltest::EnvVar;

const Module noIcon{};

SDL_Window* theWindow() {
    for (Uint32 id = 1; id < 1000; ++id) {
        if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
    }
    return nullptr;
}

class SdlPointerTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        useSdlBackend();
        forgetPointerAndDrops();
        ASSERT_TRUE(backend().startVideo(&noIcon, 139)) << SDL_GetError();
    }
    void TearDown() override {
        backend().closeScreen();
        backend().closeWindow();
        backend().stopVideo();
        forgetPointerAndDrops();
        headless::use();
    }
    // A window of 1000 x 600 with a frame shown in it: the picture 800 x 600
    // from x 100, or with whole multiples only 640 x 480 at (180, 60).
    void showFrame(bool sharp) {
        backend().setDisplayOptions({false, 1, sharp});
        ASSERT_TRUE(backend().openWindow("Kordavan", 640, 480)) << SDL_GetError();
        ASSERT_TRUE(backend().openScreen(640, 480)) << SDL_GetError();
        SDL_SetWindowSize(theWindow(), 1000, 600);
        pump();
        backend().present(frame);
    }
    void pump() { backend().pumpEvents(queue); }
    void pushMouse(Uint32 type, Uint8 button, int x, int y, Uint32 which = 0) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(theWindow());
        event.button.which = which;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        SDL_PushEvent(&event);
    }
    void pushFinger(float x, float y, SDL_TouchID device = 7) {
        SDL_Event event{};
        event.type = SDL_FINGERDOWN;
        event.tfinger.touchId = device;
        event.tfinger.fingerId = 1;
        event.tfinger.x = x;
        event.tfinger.y = y;
        event.tfinger.windowID = SDL_GetWindowID(theWindow());
        SDL_PushEvent(&event);
    }
    // Every press waiting, as "x,y" words.
    std::vector<std::string> presses() {
        pump();
        std::vector<std::string> taken;
        PicturePoint point;
        while (takePointerPress(point)) {
            taken.push_back(std::to_string(point.x) + "," + std::to_string(point.y));
        }
        return taken;
    }

    EnvVar video{"SDL_VIDEODRIVER", "dummy"};
    EnvVar path{"KORDAVAN_RENDERER", GetParam()};
    std::deque<Message> queue;
    Surface frame = grey();

  private:
    static Surface grey() {
        Surface surface;
        surface.width = 640;
        surface.height = 480;
        surface.pixels.assign(640 * 480, 0x8410);
        return surface;
    }
};

using Presses = std::vector<std::string>;

TEST_P(SdlPointerTest, TheMainButtonPressesWhereThePictureIsAndTheBarsNot) {
    showFrame(false);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 0);
    pushMouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 0);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 899, 599);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 99, 300);   // the left bar
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 900, 300);  // the right bar
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 500, 300);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 500, 300);
    EXPECT_EQ(presses(), (Presses{"0,0", "639,479"}));
}

TEST_P(SdlPointerTest, WholeMultiplesOnlyMoveThePictureAndItsPresses) {
    showFrame(true);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 180, 60);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 819, 539);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 179, 60);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 180, 59);
    EXPECT_EQ(presses(), (Presses{"0,0", "639,479"}));
}

TEST_P(SdlPointerTest, ATapCountsOnceWhereTheFingerTouches) {
    showFrame(false);
    // SDL gives a tap twice, as a finger and as a made-up mouse press.
    pushFinger(0.5f, 0.5f);
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 500, 300, SDL_TOUCH_MOUSEID);
    pushFinger(0.05f, 0.5f);  // on the left bar
    pushFinger(0.1f, 0.0f);
    // A mouse made to pass for a finger is its own press already.
    pushFinger(0.5f, 0.5f, SDL_MOUSE_TOUCHID);
    EXPECT_EQ(presses(), (Presses{"320,240", "0,0"}));
}

TEST_P(SdlPointerTest, NothingIsPressedBeforeTheFirstFrameIsShown) {
    backend().setDisplayOptions({false, 1, false});
    ASSERT_TRUE(backend().openWindow("Kordavan", 640, 480)) << SDL_GetError();
    pushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10);
    EXPECT_EQ(presses(), Presses{});
}

TEST_P(SdlPointerTest, DroppedFilesArriveInOrderAndDroppedTextIsNotAskedFor) {
    showFrame(false);
    EXPECT_EQ(SDL_EventState(SDL_DROPFILE, SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(SDL_EventState(SDL_DROPTEXT, SDL_QUERY), SDL_DISABLE);
    const std::vector<std::string> paths{"/home/pilot/first.replay",
                                         "/home/pilot/mit Leerzeichen/Küstenflug ✈.replay"};
    SDL_Event event{};
    event.type = SDL_DROPBEGIN;
    SDL_PushEvent(&event);
    for (const std::string& path : paths) {
        event.type = SDL_DROPFILE;
        event.drop.file = SDL_strdup(path.c_str());  // the back end frees it, as SDL's own
        SDL_PushEvent(&event);
    }
    event.type = SDL_DROPCOMPLETE;
    event.drop.file = nullptr;
    SDL_PushEvent(&event);
    pump();
    std::vector<std::string> taken;
    std::string path;
    while (takeDroppedFile(path)) taken.push_back(path);
    EXPECT_EQ(taken, paths);
    EXPECT_EQ(presses(), Presses{});
}

INSTANTIATE_TEST_SUITE_P(BothFramePaths, SdlPointerTest,
                         ::testing::Values("software", "accelerated"));

}  // namespace
