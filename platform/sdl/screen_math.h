#pragma once
// The arithmetic between the game's 640 x 480 RGB565 back buffer and an SDL
// window: pixel conversion, and the picture's place as SDL takes it.

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "platform/picture_fit.h"
#include "platform/pixel_widening.h"

namespace platform::sdl {

using platform::convertRgb565ToAbgr8888;
using platform::convertRgb565ToArgb8888;
using platform::pictureHeight;
using platform::pictureWidth;
using platform::windowScale;

struct Letterbox {
    SDL_Rect rect;    // where the 640 x 480 picture goes, in output pixels
    bool wholeScale;  // the picture is enlarged by a whole number
};

// The picture's place (platform/picture_fit.h) as a rectangle SDL draws into.
inline Letterbox letterbox(int outputWidth, int outputHeight, bool wholeMultiplesOnly = false) {
    const PictureFit fit = fitPicture(outputWidth, outputHeight, wholeMultiplesOnly);
    return {{fit.x, fit.y, fit.width, fit.height}, fit.wholeScale};
}

}  // namespace platform::sdl
