// The SDL back end on SDL's own stand-in drivers: start-up refuses to run
// unseen, the window shows the back buffer at no more than 60 frames a
// second, and the icon keeps its see-through green.

#include "platform/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl/screen_math.h"
#include "platform/sdl/sdl_machine.h"
#include "tests/bmp_bytes.h"
#include "tests/sdl_test_support.h"

namespace {

using namespace platform;
using sdltest::EnvVar;
using sdltest::runInChild;
using testbmp::makeBmp;

constexpr int iconId = 139;

const std::vector<uint8_t>& iconBytes() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint32_t> pixels(32 * 32, 0x00FF00);
        for (int i = 0; i < 32; ++i) pixels[static_cast<size_t>(i * 32 + i)] = 0xC02040;
        return makeBmp(32, 32, pixels);
    }();
    return bytes;
}

const Module& testModule() {
    static const Module module{{{ResourceType::Icon, iconId, iconBytes()}}};
    return module;
}

SDL_Window* firstWindow() {
    for (Uint32 id = 1; id < 1000; ++id) {
        if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
    }
    return nullptr;
}

class SdlBackendTest : public ::testing::Test {
  protected:
    void SetUp() override { useSdlBackend(); }
    void TearDown() override { headless::use(); }
};

// ---------------------------------------------------------------- start-up

TEST_F(SdlBackendTest, WithoutADisplayStartUpFails) {
    const int code = runInChild([] {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("SDL_VIDEODRIVER");
        useSdlBackend();
        return backend().startVideo(&testModule(), iconId) ? 1 : 0;
    });
    EXPECT_EQ(code, 0);
}

TEST_F(SdlBackendTest, AnInvisibleDriverChosenWithoutAskingIsRefused) {
    // The hint picks the driver just as a fallback would, while the
    // environment says nothing.
    for (const char* driver : {"dummy", "offscreen"}) {
        const int code = runInChild([driver] {
            unsetenv("SDL_VIDEODRIVER");
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
            useSdlBackend();
            const bool started = backend().startVideo(&testModule(), iconId);
            const bool videoLeftOpen = SDL_WasInit(SDL_INIT_VIDEO) != 0;
            return (started ? 1 : 0) | (videoLeftOpen ? 2 : 0);
        });
        EXPECT_EQ(code, 0) << driver;
    }
}

TEST_F(SdlBackendTest, AnInvisibleDriverAskedForByNameRuns) {
    for (const char* driver : {"dummy", "offscreen"}) {
        EnvVar video("SDL_VIDEODRIVER", driver);
        ASSERT_TRUE(backend().startVideo(&testModule(), iconId)) << driver << SDL_GetError();
        EXPECT_STREQ(SDL_GetCurrentVideoDriver(), driver);
        backend().stopVideo();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    }
}

TEST_F(SdlBackendTest, MessageBoxFallsBackToStandardErrorWithoutADisplay) {
    const std::string printed = sdltest::childStderr([] {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("XDG_RUNTIME_DIR");
        useSdlBackend();
        backend().showMessageBox("The sound card could not be opened.", "Kordavan");
    });
    EXPECT_NE(printed.find("kordavan: The sound card could not be opened.\n"), std::string::npos)
        << printed;
}

TEST(SdlIcon, PureGreenBecomesSeeThroughAndTheRestStaysOpaque) {
    SDL_Surface* icon = sdl::decodeIcon(iconBytes());
    ASSERT_NE(icon, nullptr) << SDL_GetError();
    EXPECT_EQ(icon->w, 32);
    EXPECT_EQ(icon->h, 32);
    int wrong = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const auto* p = static_cast<const uint8_t*>(icon->pixels) + y * icon->pitch + x * 4;
            Uint32 pixel = 0;
            std::memcpy(&pixel, p, sizeof pixel);
            Uint8 r = 0, g = 0, b = 0, a = 0;
            SDL_GetRGBA(pixel, icon->format, &r, &g, &b, &a);
            if (x == y) {
                wrong += r != 0xC0 || g != 0x20 || b != 0x40 || a != 255;
            } else {
                wrong += a != 0;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    SDL_FreeSurface(icon);
}

TEST(SdlIcon, TheGamesOwnIconDecodesWithBothClearAndSolidPixels) {
    const Resource* resource = findResource(gameModule(), ResourceType::Icon, iconId);
    ASSERT_NE(resource, nullptr);
    SDL_Surface* icon = sdl::decodeIcon(resource->bytes);
    ASSERT_NE(icon, nullptr) << SDL_GetError();
    EXPECT_EQ(icon->w, 32);
    EXPECT_EQ(icon->h, 32);
    int clear = 0;
    int solid = 0;
    for (int y = 0; y < icon->h; ++y) {
        for (int x = 0; x < icon->w; ++x) {
            const auto* p = static_cast<const uint8_t*>(icon->pixels) + y * icon->pitch + x * 4;
            Uint32 pixel = 0;
            std::memcpy(&pixel, p, sizeof pixel);
            Uint8 r = 0, g = 0, b = 0, a = 0;
            SDL_GetRGBA(pixel, icon->format, &r, &g, &b, &a);
            clear += a == 0;
            solid += a == 255;
        }
    }
    EXPECT_GT(clear, 0);
    EXPECT_GT(solid, 0);
    EXPECT_EQ(clear + solid, 32 * 32);
    SDL_FreeSurface(icon);
}

TEST(SdlIcon, BytesThatAreNoBitmapGiveNoIcon) {
    const std::vector<uint8_t> junk(200, 0x5A);
    EXPECT_EQ(sdl::decodeIcon(junk), nullptr);
    EXPECT_EQ(sdl::decodeIcon({}), nullptr);
}

// ---------------------------------------------------------------- window and screen

class SdlWindowTest : public SdlBackendTest {
  protected:
    void SetUp() override {
        SdlBackendTest::SetUp();
        ASSERT_TRUE(backend().startVideo(&testModule(), iconId)) << SDL_GetError();
        ASSERT_TRUE(backend().openWindow("Kordavan", 640, 480)) << SDL_GetError();
        ASSERT_TRUE(backend().openScreen(640, 480)) << SDL_GetError();
        // The window's own first events (shown, sized) are not the test's.
        std::deque<Message> opening;
        backend().pumpEvents(opening);
    }
    void TearDown() override {
        backend().closeScreen();
        backend().closeWindow();
        backend().stopVideo();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
        SdlBackendTest::TearDown();
    }

    EnvVar video{"SDL_VIDEODRIVER", "dummy"};
    Surface backBuffer{640, 480, std::vector<uint16_t>(640 * 480), false, 0, {}};
};

TEST_F(SdlWindowTest, WindowCoversTheDesktopUnderTheGamesName) {
    SDL_Window* window = firstWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Kordavan");
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    const DesktopSize desktop = backend().desktopSize();
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, desktop.width);
    EXPECT_EQ(h, desktop.height);
}

// The same window shown through OpenGL's renderer (SDL's software renderer
// on this driver) and through the bare framebuffer, forced as a player can.
class SdlPathTest : public SdlWindowTest, public ::testing::WithParamInterface<const char*> {
  protected:
    EnvVar path{"KORDAVAN_RENDERER", GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Paths, SdlPathTest, ::testing::Values("software", "accelerated"));

TEST_P(SdlPathTest, TheFramebufferIsTakenOnlyWhenAskedFor) {
    EXPECT_EQ(SDL_GetRenderer(firstWindow()) == nullptr, std::string(GetParam()) == "software");
}

TEST_P(SdlPathTest, BackBufferReachesTheWindowInItsColours) {
    // Left half red, right half blue, one green row at the top.
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            backBuffer.pixels[static_cast<size_t>(y * 640 + x)] =
                y == 0 ? 0x07E0 : (x < 320 ? 0xF800 : 0x001F);
        }
    }
    backend().present(backBuffer);
    int w = 0;
    int h = 0;
    sdltest::shownSize(firstWindow(), w, h);
    const auto pixelAt = [](int x, int y) { return sdltest::shownPixel(firstWindow(), x, y); };
    const SDL_Rect box = sdl::letterbox(w, h).rect;
    EXPECT_EQ(pixelAt(box.x + box.w / 4, box.y + box.h / 2), 0xFF0000u);
    EXPECT_EQ(pixelAt(box.x + box.w * 3 / 4, box.y + box.h / 2), 0x0000FFu);
    EXPECT_EQ(pixelAt(box.x + box.w / 2, box.y), 0x00FF00u);
}

TEST_F(SdlBackendTest, StoppingVideoWithTheWindowStillOpenLetsGoOfIt) {
    EnvVar video("SDL_VIDEODRIVER", "dummy");
    ASSERT_TRUE(backend().startVideo(&testModule(), iconId));
    ASSERT_TRUE(backend().openWindow("Kordavan", 640, 480));
    ASSERT_TRUE(backend().openScreen(640, 480));
    backend().stopVideo();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    // Whatever the game calls afterwards must find nothing left to free.
    backend().closeScreen();
    backend().closeWindow();
    backend().stopVideo();
    EXPECT_FALSE(backend().hasKeyboardFocus());
}

TEST_F(SdlWindowTest, ClocksAgree) {
    int64_t frequency = 0;
    ASSERT_TRUE(backend().performanceFrequency(frequency));
    EXPECT_GT(frequency, 0);
    const int64_t counter = backend().performanceCounter();
    const uint32_t ms = backend().milliseconds();
    SDL_Delay(50);
    const double counted = static_cast<double>(backend().performanceCounter() - counter) /
                           static_cast<double>(frequency);
    EXPECT_GE(counted, 0.045);
    EXPECT_GE(backend().milliseconds() - ms, 45u);
}

TEST_F(SdlWindowTest, NoKeysAreHeldOnAFreshKeyboard) {
    uint8_t state[256];
    std::fill(std::begin(state), std::end(state), uint8_t{0xAA});
    backend().readKeys(state);
    for (uint8_t byte : state) ASSERT_EQ(byte, 0);
}

TEST_F(SdlWindowTest, WindowCloseRequestBecomesOneCloseMessage) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(firstWindow());
    std::deque<Message> queue;
    backend().pumpEvents(queue);  // what the window said as it opened
    queue.clear();
    SDL_PushEvent(&event);
    backend().pumpEvents(queue);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().kind, MessageKind::Close);
}

TEST_F(SdlWindowTest, FocusAndExposeEventsBecomeMessages) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(firstWindow());
    std::deque<Message> queue;
    backend().pumpEvents(queue);  // what the window said as it opened
    queue.clear();
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&event);
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&event);
    event.window.event = SDL_WINDOWEVENT_MOVED;  // nothing the game cares about
    SDL_PushEvent(&event);
    event.window.event = SDL_WINDOWEVENT_EXPOSED;  // the picture must be shown again
    SDL_PushEvent(&event);
    backend().pumpEvents(queue);
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[0].kind, MessageKind::FocusGained);
    EXPECT_EQ(queue[1].kind, MessageKind::FocusLost);
    EXPECT_EQ(queue[2].kind, MessageKind::Exposed);
}

TEST_F(SdlWindowTest, FocusIsWhatSdlKnowsNotWhatTheQueueSays) {
    // The stand-in driver never gives a window the keyboard, and a focus
    // message alone must not make the game believe it has it.
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(firstWindow());
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&event);
    std::deque<Message> queue;
    backend().pumpEvents(queue);
    EXPECT_EQ(backend().hasKeyboardFocus(), SDL_GetKeyboardFocus() == firstWindow());
    EXPECT_FALSE(backend().hasKeyboardFocus());
}

}  // namespace
