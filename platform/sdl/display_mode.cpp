// The SDL back end's choice between window and full screen: the window's
// size, the keys that switch at any time, and the mouse pointer, which hides
// only where the game fills the screen.

#include <SDL.h>

#include <cstdio>

#include "platform/sdl/keymap.h"
#include "platform/sdl/screen_math.h"
#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

bool isFullscreen(SDL_Window* window) {
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

// The scale the player was last told about, so the warning comes once.
int scaleWarnedAbout = 0;

}  // namespace

int SdlBackend::chosenWindowScale() {
    SDL_Rect usable{0, 0, pictureWidth, pictureHeight};
    const int index = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    // The space panels and docks leave, so the whole window stays in sight.
    if (SDL_GetDisplayUsableBounds(index < 0 ? 0 : index, &usable) != 0) {
        const DesktopSize desktop = desktopSize();
        usable.w = desktop.width;
        usable.h = desktop.height;
    }
    // A window larger than the desktop cannot be seen whole and costs
    // memory for pixels nobody sees.
    const int fits = windowScale(0, usable.w, usable.h);
    if (display.scale <= fits) return windowScale(display.scale, usable.w, usable.h);
    if (display.scale != scaleWarnedAbout) {
        scaleWarnedAbout = display.scale;
        std::fprintf(stderr,
                     "kordavan: a window %d times 640x480 does not fit the desktop (%dx%d); "
                     "using scale %d\n",
                     display.scale, usable.w, usable.h, fits);
    }
    return fits;
}

void SdlBackend::setDisplayOptions(const DisplayOptions& options) {
    const int oldScale = display.scale;
    display = options;
    display.scale = options.scale < 0 ? 0 : options.scale;
    if (window == nullptr) {
        return;
    }
    if (options.fullscreen && !isFullscreen(window)) {
        enterFullscreen();
    } else if (!options.fullscreen && isFullscreen(window)) {
        enterWindow();
    } else if (!options.fullscreen && display.scale != oldScale) {
        const int scale = chosenWindowScale();
        SDL_SetWindowSize(window, pictureWidth * scale, pictureHeight * scale);
    }
    showCursorAsWanted();
}

void SdlBackend::enterFullscreen() {
    if (!isFullscreen(window)) {
        SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
        // A full-screen request is carried out by the window manager, and an
        // X server may have none: the window first covers the display on its
        // own, as a borderless window, so it is full screen either way.
        const int index = SDL_GetWindowDisplayIndex(window);
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &bounds) == 0) {
            SDL_SetWindowBordered(window, SDL_FALSE);
            SDL_SetWindowPosition(window, bounds.x, bounds.y);
            SDL_SetWindowSize(window, bounds.w, bounds.h);
        }
    }
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
        display.fullscreen = true;
    }
    showCursorAsWanted();
}

void SdlBackend::enterWindow() {
    if (SDL_SetWindowFullscreen(window, 0) != 0) {
        return;
    }
    display.fullscreen = false;
    // A game started full screen has a bare window with nothing to hold it
    // by; a window the player left keeps the size they gave it. SDL does not
    // bring that size back by itself everywhere, so it is set here.
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    int width = windowedWidth;
    int height = windowedHeight;
    if (width <= 0 || height <= 0) {
        const int scale = chosenWindowScale();
        width = pictureWidth * scale;
        height = pictureHeight * scale;
    }
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    showCursorAsWanted();
}

void SdlBackend::switchIfAsked() {
    if (!machineKeys.takeSwitch() || window == nullptr) {
        return;
    }
    if (isFullscreen(window)) {
        enterWindow();
    } else {
        enterFullscreen();
    }
}

void SdlBackend::setCursorVisible(bool visible) {
    cursorWanted = visible;
    showCursorAsWanted();
}

void SdlBackend::showCursorAsWanted() {
    // In a window the pointer is the player's way to the rest of the desktop.
    const bool hidden = !cursorWanted && display.fullscreen;
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

int SDLCALL SdlBackend::watchEvent(void* backend, SDL_Event* event) {
    auto* self = static_cast<SdlBackend*>(backend);
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        self->machineKeys.focusLost();
    } else if (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP) {
        const SDL_KeyboardEvent& key = event->key;
        self->machineKeys.keyChanged(dikFromScancode(key.keysym.scancode),
                                     event->type == SDL_KEYDOWN, key.repeat != 0,
                                     (key.keysym.mod & KMOD_ALT) != 0);
    }
    return 0;
}

}  // namespace platform::sdl
