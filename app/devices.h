#pragma once
// The window and the devices, created once by initApplication and released
// once by shutdownApp, children before their parents. The display and the
// sound device belong to the layers that use them; the window and the
// keyboard are the application's own.

#include "gfx/display.h"
#include "platform/platform.h"
#include "platform/startup_state.h"
#include "sound/sound_buffers.h"

extern platform::Window* appWindow;
extern platform::InputSystem* directInput;
extern platform::KeyboardDevice* keyboardDevice;
