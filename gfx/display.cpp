// The display handles and the flip.

#include "gfx/display.h"

platform::Display* directDraw = nullptr;
platform::Surface* primarySurface = nullptr;
platform::Surface* backBuffer = nullptr;

void present() {
    platform::flip(primarySurface);
}
