#pragma once
// The display and its flip chain: made once at start-up, drawn into by
// drawKeyed, shown by present.

#include "platform/platform.h"

extern platform::Display* directDraw;
extern platform::Surface* primarySurface;
extern platform::Surface* backBuffer;

// Shows the back buffer, waiting for the display as a flip does.
void present();
// Halves the brightness of everything in the back buffer.
void dimBackBuffer();
