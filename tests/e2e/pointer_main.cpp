// kordavan-e2e-pointer: the real back end's window with a plain picture, which
// tells on standard output what the player did to it, for the tests that
// press and drop onto a real window (the game itself reads neither until a
// screen of its own asks).
//
//   kordavan-e2e-pointer [--window SCALE] [--sharp]
//
// Full screen unless --window; --sharp enlarges by whole multiples only.
// Prints "shown" once the first frame is up, then one line per
// event: "press X Y" in picture pixels, "drop PATH" with the path as UTF-8.
// Ends when the window is closed.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

#if defined(_WIN32)
#include "platform/windows_backend.h"
#else
#include "platform/sdl_backend.h"
#endif

namespace {

bool closed = false;

int64_t windowProc(platform::Window* window, platform::MessageKind kind, int64_t wParam) {
    if (kind == platform::MessageKind::Close || kind == platform::MessageKind::Destroy) {
        closed = true;
    }
    return platform::defWindowProc(window, kind, wParam);
}

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    platform::DisplayOptions display;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0 && i + 1 < argc) {
            display.fullscreen = false;
            display.scale = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--sharp") == 0) {
            display.integerScale = true;
        } else {
            std::fprintf(stderr, "usage: kordavan-e2e-pointer [--window SCALE] [--sharp]\n");
            return 2;
        }
    }
#if defined(_WIN32)
    platform::useWindowsBackend();
#else
    platform::useSdlBackend();
#endif
    static const platform::Module empty;
    platform::setDisplayOptions(display);
    if (!platform::registerWindowClass(&empty, windowProc, 1)) return 1;
    const platform::DesktopSize desktop = platform::desktopSize();
    platform::Window* window =
        platform::createWindow("Kordavan pointer test", desktop.width, desktop.height);
    if (window == nullptr) return 1;
    platform::showWindow(window);
    platform::Display* screen = platform::createDisplay();
    if (screen == nullptr || !platform::setExclusiveFullscreen(screen, window) ||
        !platform::setDisplayMode(screen, 640, 480, 16)) {
        return 1;
    }
    platform::Surface* primary = platform::createFlipChain(screen);
    platform::Surface* back = primary == nullptr ? nullptr : platform::getBackBuffer(primary);
    if (back == nullptr) return 1;
    // A grey picture, so a look at the screen tells it from the black bars.
    back->pixels.assign(back->pixels.size(), 0x8410);

    bool shown = false;
    while (!closed) {
        platform::Message message;
        while (platform::peekMessage(message)) {
            platform::dispatchMessage(message);
        }
        if (closed) break;
        platform::flip(primary);
        if (!shown) {
            shown = true;
            say("shown");
        }
        platform::PicturePoint point;
        while (platform::takePointerPress(point)) {
            say("press " + std::to_string(point.x) + " " + std::to_string(point.y));
        }
        std::string path;
        while (platform::takeDroppedFile(path)) {
            say("drop " + path);
        }
        platform::waitForMessage(16'000);
    }
    platform::release(primary);
    platform::release(screen);
    platform::finish();
    return 0;
}
