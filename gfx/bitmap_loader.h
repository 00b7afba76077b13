#pragma once
// Turns a bitmap resource into a new off-screen surface of its size.

#include "platform/platform.h"

// Null when the bitmap is missing or broken, or no surface can be made.
platform::Surface* loadBitmapSurface(int resourceId);
