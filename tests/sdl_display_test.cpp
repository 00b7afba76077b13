// Window or full screen on SDL's stand-in video driver: the window's size
// for each choice, the keys that switch at any time, the mouse pointer, and
// where the picture lands with whole-number scaling.

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/screen_math.h"
#include "platform/sdl_backend.h"
#include "tests/sdl_test_support.h"

namespace {

using namespace platform;
using sdltest::EnvVar;

// ---------------------------------------------------------------- arithmetic

TEST(SdlWindowScale, NoScaleAskedForTakesTheLargestWholeMultipleThatFits) {
    EXPECT_EQ(sdl::windowScale(0, 1280, 1024), 2);
    EXPECT_EQ(sdl::windowScale(0, 1920, 1080), 2);
    EXPECT_EQ(sdl::windowScale(0, 1920, 1440), 3);
    EXPECT_EQ(sdl::windowScale(0, 3840, 2160), 4);
    EXPECT_EQ(sdl::windowScale(0, 1279, 1024), 1);
}

TEST(SdlWindowScale, ASmallDesktopStillGetsTheGameAtItsOwnSize) {
    EXPECT_EQ(sdl::windowScale(0, 800, 400), 1);
    EXPECT_EQ(sdl::windowScale(0, 0, 0), 1);
}

TEST(SdlWindowScale, AScaleAskedForIsTaken) {
    EXPECT_EQ(sdl::windowScale(2, 1280, 1024), 2);
    EXPECT_EQ(sdl::windowScale(3, 1280, 1024), 3);
    EXPECT_EQ(sdl::windowScale(1, 3840, 2160), 1);
}

TEST(SdlLetterbox, WholeMultiplesOnlyLeavesBlackAroundASharpPicture) {
    // 1600 x 1200 would fit 2.5 times; only twice is whole.
    const sdl::Letterbox box = sdl::letterbox(1600, 1200, true);
    EXPECT_EQ(box.rect.x, 160);
    EXPECT_EQ(box.rect.y, 120);
    EXPECT_EQ(box.rect.w, 1280);
    EXPECT_EQ(box.rect.h, 960);
    EXPECT_TRUE(box.wholeScale);
    const sdl::Letterbox smooth = sdl::letterbox(1600, 1200, false);
    EXPECT_EQ(smooth.rect.w, 1600);
    EXPECT_FALSE(smooth.wholeScale);
}

TEST(SdlLetterbox, WholeMultiplesFollowTheNarrowerSide) {
    const sdl::Letterbox wide = sdl::letterbox(2560, 1080, true);
    EXPECT_EQ(wide.rect.w, 1280);
    EXPECT_EQ(wide.rect.h, 960);
    EXPECT_EQ(wide.rect.x, 640);
    EXPECT_EQ(wide.rect.y, 60);
    const sdl::Letterbox tall = sdl::letterbox(1300, 2000, true);
    EXPECT_EQ(tall.rect.w, 1280);
    EXPECT_EQ(tall.rect.x, 10);
}

TEST(SdlLetterbox, AnOutputTooSmallForOneWholePictureStillShowsAllOfIt) {
    const sdl::Letterbox box = sdl::letterbox(320, 240, true);
    EXPECT_EQ(box.rect.w, 320);
    EXPECT_EQ(box.rect.h, 240);
    EXPECT_FALSE(box.wholeScale);
}

TEST(SdlKeymap, PauseAndPArriveUnderTheirScanCodes) {
    EXPECT_EQ(sdl::dikFromScancode(SDL_SCANCODE_PAUSE), DIK_PAUSE);
    EXPECT_EQ(DIK_PAUSE, 0xC5);
    EXPECT_EQ(sdl::dikFromScancode(SDL_SCANCODE_P), DIK_P);
}

// ---------------------------------------------------------------- the window

const Module noIcon{};

SDL_Window* theWindow() {
    for (Uint32 id = 1; id < 1000; ++id) {
        if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
    }
    return nullptr;
}

bool fullscreen() {
    return (SDL_GetWindowFlags(theWindow()) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
           SDL_WINDOW_FULLSCREEN_DESKTOP;
}

struct Size {
    int w;
    int h;
    bool operator==(const Size&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Size& size) {
    return out << size.w << "x" << size.h;
}

Size windowSize() {
    Size size{};
    SDL_GetWindowSize(theWindow(), &size.w, &size.h);
    return size;
}

void pushKey(SDL_EventType type, SDL_Scancode code, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = SDL_GetWindowID(theWindow());
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = code;
    event.key.keysym.sym = SDL_GetKeyFromScancode(code);
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
}

void pressKey(SDL_Scancode code, Uint16 mod = KMOD_NONE) {
    pushKey(SDL_KEYDOWN, code, mod);
    pushKey(SDL_KEYUP, code, mod);
}

class SdlDisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        useSdlBackend();
        ASSERT_TRUE(backend().startVideo(&noIcon, 139)) << SDL_GetError();
        desktop = backend().desktopSize();
    }
    void TearDown() override {
        backend().closeScreen();
        backend().closeWindow();
        backend().stopVideo();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
        headless::use();
    }
    void open(const DisplayOptions& options) {
        backend().setDisplayOptions(options);
        ASSERT_TRUE(backend().openWindow("Kordavan", desktop.width, desktop.height))
            << SDL_GetError();
        ASSERT_TRUE(backend().openScreen(640, 480)) << SDL_GetError();
        ASSERT_NE(theWindow(), nullptr);
    }
    void pump() { backend().pumpEvents(queue); }

    EnvVar video{"SDL_VIDEODRIVER", "dummy"};
    DesktopSize desktop{};
    std::deque<Message> queue;
};

TEST_F(SdlDisplayTest, WithoutOptionsTheWindowCoversTheDesktopAsBefore) {
    open(DisplayOptions{});
    EXPECT_TRUE(fullscreen());
    EXPECT_EQ(windowSize(), (Size{desktop.width, desktop.height}));
    EXPECT_TRUE(backend().displayOptions().fullscreen);
}

TEST_F(SdlDisplayTest, AWindowOfTheScaleAskedForCentredAndResizable) {
    open({false, 1, false});
    EXPECT_FALSE(fullscreen());
    EXPECT_EQ(windowSize(), (Size{640, 480}));
    EXPECT_NE(SDL_GetWindowFlags(theWindow()) & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_FALSE(backend().displayOptions().fullscreen);
    EXPECT_EQ(backend().displayOptions().scale, 1);
}

TEST_F(SdlDisplayTest, AWindowWithoutAScaleIsTheLargestThatFitsTheDesktop) {
    open({false, 0, false});
    const int scale = sdl::windowScale(0, desktop.width, desktop.height);
    EXPECT_EQ(windowSize(), (Size{640 * scale, 480 * scale}));
}

TEST_F(SdlDisplayTest, F11SwitchesToFullScreenAndBackToTheSameWindow) {
    open({false, 1, false});
    pressKey(SDL_SCANCODE_F11);
    pump();
    EXPECT_TRUE(fullscreen());
    EXPECT_TRUE(backend().displayOptions().fullscreen);
    pressKey(SDL_SCANCODE_F11);
    pump();
    EXPECT_FALSE(fullscreen());
    EXPECT_FALSE(backend().displayOptions().fullscreen);
    EXPECT_EQ(windowSize(), (Size{640, 480}));
}

TEST_F(SdlDisplayTest, LeavingAFullScreenStartGivesAWindowOfTheChosenScale) {
    open({true, 1, false});
    pressKey(SDL_SCANCODE_F11);
    pump();
    EXPECT_FALSE(fullscreen());
    EXPECT_EQ(windowSize(), (Size{640, 480}));
    // Its frame and handles come from the real driver; see the X11 test.
}

TEST_F(SdlDisplayTest, AltEnterSwitchesOncePerPressEvenWhileItRepeats) {
    open({false, 1, false});
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT, 1);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT, 1);
    pushKey(SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_LALT);
    pump();
    EXPECT_TRUE(fullscreen());
    pressKey(SDL_SCANCODE_RETURN, KMOD_RALT);
    pump();
    EXPECT_FALSE(fullscreen());
}

TEST_F(SdlDisplayTest, ReturnAloneAndOtherKeysLeaveTheDisplayAlone) {
    open({false, 1, false});
    pressKey(SDL_SCANCODE_RETURN);
    pressKey(SDL_SCANCODE_F10);
    pressKey(SDL_SCANCODE_RETURN, KMOD_LCTRL);
    pump();
    EXPECT_FALSE(fullscreen());
}

TEST_F(SdlDisplayTest, TheSwitchHappensWhicheverCallComesFirst) {
    open({false, 1, false});
    // The end pictures read keys and show frames without handling messages.
    pressKey(SDL_SCANCODE_F11);
    uint8_t keys[256];
    backend().readKeys(keys);
    EXPECT_TRUE(fullscreen());
    pressKey(SDL_SCANCODE_F11);
    Surface backBuffer{640, 480, std::vector<uint16_t>(640 * 480), false, 0, {}};
    backend().present(backBuffer);
    EXPECT_FALSE(fullscreen());
}

TEST_F(SdlDisplayTest, ChangingTheOptionsWithTheWindowOpenSwitchesAtOnce) {
    open({false, 1, false});
    backend().setDisplayOptions({true, 1, false});
    EXPECT_TRUE(fullscreen());
    backend().setDisplayOptions({false, 1, false});
    EXPECT_FALSE(fullscreen());
    EXPECT_EQ(windowSize(), (Size{640, 480}));
}

TEST_F(SdlDisplayTest, ThePointerHidesOnlyOverTheFullScreenPicture) {
    open({false, 1, false});
    backend().setCursorVisible(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    pressKey(SDL_SCANCODE_F11);
    pump();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    pressKey(SDL_SCANCODE_F11);
    pump();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SdlDisplayTest, AFullScreenStartHidesThePointerAsBefore) {
    open(DisplayOptions{});
    backend().setCursorVisible(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST_F(SdlDisplayTest, ThePauseKeyIsSeenOnceEvenIfLetGoBeforeTheRead) {
    open(DisplayOptions{});
    uint8_t keys[256];
    pressKey(SDL_SCANCODE_PAUSE);
    backend().readKeys(keys);
    EXPECT_EQ(keys[DIK_PAUSE], 0x80);
    backend().readKeys(keys);
    EXPECT_EQ(keys[DIK_PAUSE], 0);
}

// Where the picture lands in a window of 1000 x 800: whole-number scaling
// keeps it at 640 x 480 in the middle, smooth scaling fills the width.
uint32_t pixelAt(int x, int y) {
    return sdltest::shownPixel(theWindow(), x, y);
}

TEST_F(SdlDisplayTest, IntegerScaleKeepsThePictureAtAWholeMultiple) {
    for (bool integer : {true, false}) {
        open({false, 1, integer});
        SDL_SetWindowSize(theWindow(), 1000, 800);
        pump();
        Surface white{640, 480, std::vector<uint16_t>(640 * 480, 0xFFFF), false, 0, {}};
        backend().present(white);
        int w = 0;
        int h = 0;
        sdltest::shownSize(theWindow(), w, h);
        ASSERT_EQ(w, 1000);
        ASSERT_EQ(h, 800);
        // Inside the whole-number picture either way.
        EXPECT_EQ(pixelAt(500, 400), 0xFFFFFFu) << integer;
        // Left of 640 x 480 centred, but inside 1000 x 750.
        EXPECT_EQ(pixelAt(100, 400), integer ? 0u : 0xFFFFFFu) << integer;
        backend().closeScreen();
        backend().closeWindow();
    }
}

}  // namespace
