// The SDL back end's window: start-up of the video system, the borderless
// full-desktop window with its renderer, its events, and message boxes.

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/sdl/sdl_machine.h"
#include "platform/sdl_backend.h"
#include "platform/window_icon.h"

namespace platform::sdl {

namespace {

// SDL falls back to these only when told to; chosen on its own it would mean
// the game runs without anyone being able to see it.
bool isInvisibleDriver(const char* driver) {
    return driver != nullptr &&
           (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

bool driverRequested() {
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    return requested != nullptr && requested[0] != '\0';
}

SDL_Surface* loadIcon(const Module* module, int iconId) {
    const Resource* resource = findResource(module, ResourceType::Icon, iconId);
    return resource == nullptr ? nullptr : decodeIcon(resource->bytes);
}

bool displayRunsAt60Hz(SDL_Window* window) {
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window);
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0) {
        return false;
    }
    return mode.refresh_rate == 60;
}

}  // namespace

SDL_Surface* decodeIcon(std::span<const uint8_t> bmpFile) {
    WindowIcon picture;
    if (!decodeWindowIcon(bmpFile, picture)) {
        return nullptr;
    }
    // ARGB8888 is the icon's own 0xAARRGGBB, so its rows copy as they are.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 32,
                                                       SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) {
        return nullptr;
    }
    SDL_LockSurface(icon);
    const size_t rowBytes = static_cast<size_t>(picture.width) * sizeof(uint32_t);
    for (int y = 0; y < icon->h; ++y) {
        std::memcpy(static_cast<uint8_t*>(icon->pixels) + static_cast<ptrdiff_t>(y) * icon->pitch,
                    picture.pixels.data() + static_cast<size_t>(y) * picture.width, rowBytes);
    }
    SDL_UnlockSurface(icon);
    return icon;
}

void quitSdlWhenIdle() {
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
        SDL_Quit();
    }
}

bool SdlBackend::startVideo(const Module* module, int iconId) {
    // Closing the window already says Close; a second one from SDL's quit
    // event would reach a window that is gone.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Chosen before SDL's video starts here, so OpenGL can be asked about
    // in a process of its own.
    chosenPath = chooseRenderPath();
    // The message box keeps the game's own text; the terminal also gets the
    // video driver's reason, which is what the player can act on.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "kordavan: no video: %s\n", SDL_GetError());
        return false;
    }
    enableDrops();
    if (!driverRequested() && isInvisibleDriver(SDL_GetCurrentVideoDriver())) {
        std::fprintf(stderr,
                     "kordavan: no video driver can show the game (SDL found only its %s "
                     "driver); is DISPLAY or WAYLAND_DISPLAY set?\n",
                     SDL_GetCurrentVideoDriver());
        stopVideo();
        return false;
    }
    if (icon != nullptr) {
        SDL_FreeSurface(icon);
    }
    icon = loadIcon(module, iconId);
    if (!watching) {
        SDL_AddEventWatch(watchEvent, this);
        watching = true;
    }
    machineKeys.reset();
    openPads();
    return true;
}

void SdlBackend::stopVideo() {
    // Quitting video takes SDL's windows with it; let go of ours first so
    // nothing is destroyed twice.
    closeWindow();
    if (icon != nullptr) {
        SDL_FreeSurface(icon);
        icon = nullptr;
    }
    closePads();
    if (watching) {
        SDL_DelEventWatch(watchEvent, this);
        watching = false;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    quitSdlWhenIdle();
}

bool SdlBackend::openWindow(const char* caption, int width, int height) {
    if (window != nullptr) {
        return false;
    }
    const bool framebuffer = chosenPath == RenderPath::Software;
    if (display.fullscreen) {
        window = SDL_CreateWindow(caption, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                  height, SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    } else {
        const int scale = chosenWindowScale();
        window =
            SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             pictureWidth * scale, pictureHeight * scale, SDL_WINDOW_RESIZABLE);
    }
    if (window == nullptr) {
        std::fprintf(stderr, "kordavan: the window cannot be made: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetWindowMinimumSize(window, pictureWidth / 2, pictureHeight / 2);
    windowedWidth = 0;
    windowedHeight = 0;
    if (icon != nullptr) {
        SDL_SetWindowIcon(window, icon);
    }
    usingFramebuffer = framebuffer;
    if (usingFramebuffer) {
        // SDL would otherwise put an OpenGL texture behind the framebuffer.
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
    }
    if (usingFramebuffer ? SDL_GetWindowSurface(window) == nullptr : !createRenderer()) {
        std::fprintf(stderr, "kordavan: the window cannot be drawn in: %s\n", SDL_GetError());
        SDL_DestroyWindow(window);
        window = nullptr;
        usingFramebuffer = false;
        return false;
    }
    showCursorAsWanted();
    return true;
}

bool SdlBackend::createRenderer() {
    const Uint32 vsync = displayRunsAt60Hz(window) ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | vsync);
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | vsync);
    }
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    return renderer != nullptr;
}

void SdlBackend::closeWindow() {
    closeScreen();
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    usingFramebuffer = false;
    shownOutputWidth = 0;
    shownOutputHeight = 0;
}

DesktopSize SdlBackend::desktopSize() {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return {640, 480};
    }
    return {mode.w, mode.h};
}

void SdlBackend::translateEvent(const SDL_Event& event, std::deque<Message>& queue) {
    if (event.type == SDL_QUIT) {
        queue.push_back({MessageKind::Close, 0});
        return;
    }
    if (event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) {
        takeDrop(event);
        return;
    }
    if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_FINGERDOWN) {
        takePress(event);
        return;
    }
    if (event.type != SDL_WINDOWEVENT) {
        return;
    }
    switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            queue.push_back({MessageKind::Close, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            queue.push_back({MessageKind::FocusLost, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            queue.push_back({MessageKind::FocusGained, 0});
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
            // The window system may have forgotten what the window showed.
            framebufferStale = true;
            queue.push_back({MessageKind::Exposed, 0});
            break;
        default:
            break;
    }
}

void SdlBackend::pumpEvents(std::deque<Message>& queue) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        translateEvent(event, queue);
    }
    switchIfAsked();
}

bool SdlBackend::sleepForEvents(std::deque<Message>& queue, int64_t microseconds) {
    if (window == nullptr) {
        return false;
    }
    // SDL waits in whole milliseconds and checks them against a clock that
    // moves in whole milliseconds, so its wait can run one over: it gets a
    // millisecond less than is left, and the last stretch is slept here,
    // which ends within a hair of the deadline.
    const auto milliseconds = static_cast<int>(microseconds / 1000) - 1;
    SDL_Event event;
    if (milliseconds <= 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
    } else if (SDL_WaitEventTimeout(&event, milliseconds) != 0) {
        translateEvent(event, queue);
    }
    return true;
}

void SdlBackend::showMessageBox(const char* text, const char* caption) {
    // The message is read on the normal desktop, not behind our full-screen window.
    if (window != nullptr) {
        SDL_HideWindow(window);
    }
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, nullptr) != 0) {
        tellOnStandardError(text);
    }
}

}  // namespace platform::sdl

namespace platform {

void useSdlBackend() {
    static sdl::SdlBackend instance;
    useBackend(&instance);
}

}  // namespace platform
