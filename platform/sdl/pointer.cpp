// The SDL back end's mouse, fingers and dropped files: a press of the main
// button or a tap becomes a place on the picture, found through where the
// player last saw it; a file dropped onto the window becomes its path. The
// game never moves by the mouse; nothing here touches the pointer itself.

#include <SDL.h>

#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

void SdlBackend::enableDrops() {
    // Files only: dropped text is nothing the game reads, and each one
    // would be a copy to free.
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
}

void SdlBackend::noteShownPicture(const SDL_Rect& picture, int outputWidth, int outputHeight) {
    shownPicture = picture;
    shownOutputWidth = outputWidth;
    shownOutputHeight = outputHeight;
}

void SdlBackend::notePress(double windowX, double windowY) {
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    if (windowWidth <= 0 || windowHeight <= 0 || shownOutputWidth <= 0) return;
    // Events come in the window's units; the picture was drawn in output
    // pixels, which on a high-density screen are more of them.
    const double outputX = windowX * shownOutputWidth / windowWidth;
    const double outputY = windowY * shownOutputHeight / windowHeight;
    const PictureFit fit{shownPicture.x, shownPicture.y, shownPicture.w, shownPicture.h};
    PicturePoint point;
    if (pictureAt(fit, outputX, outputY, point)) notePointerPress(point);
}

void SdlBackend::takePress(const SDL_Event& event) {
    if (window == nullptr) return;
    switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
            // A tap also comes as a mouse press; the finger's own event counts.
            if (event.button.button == SDL_BUTTON_LEFT && event.button.which != SDL_TOUCH_MOUSEID &&
                event.button.windowID == SDL_GetWindowID(window)) {
                notePress(event.button.x + 0.5, event.button.y + 0.5);
            }
            break;
        case SDL_FINGERDOWN:
            // A mouse made to pass for a finger is already its own press.
            if (event.tfinger.touchId != SDL_MOUSE_TOUCHID) {
                int windowWidth = 0;
                int windowHeight = 0;
                SDL_GetWindowSize(window, &windowWidth, &windowHeight);
                notePress(event.tfinger.x * windowWidth, event.tfinger.y * windowHeight);
            }
            break;
        default:
            break;
    }
}

void SdlBackend::takeDrop(const SDL_Event& event) {
    // SDL hands over the path's copy: ours to free, whatever it holds.
    if (event.drop.file == nullptr) return;
    if (event.type == SDL_DROPFILE && event.drop.file[0] != '\0') {
        noteDroppedFile(event.drop.file);
    }
    SDL_free(event.drop.file);
}

}  // namespace platform::sdl
