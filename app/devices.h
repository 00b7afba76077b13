#pragma once
// The window and the three devices, created once by initApplication and
// released once by shutdownApp, children before their parents.

#include "platform/platform.h"

extern const platform::Module* appInstance;
extern platform::Window* appWindow;
extern platform::Display* directDraw;
extern platform::Surface* primarySurface;
extern platform::Surface* backBuffer;
extern platform::SoundDevice* directSound;
extern platform::InputSystem* directInput;
extern platform::KeyboardDevice* keyboardDevice;

// The start-up failure to tell the player about, or null.
extern const char* errorMessage;
