#pragma once
// Bringing the window and devices up, and taking them down again.

#include <cstdint>

#include "platform/platform.h"

// 1 when every device is ready; 0 after the first failing step, with the
// reason in errorMessage (none for a keyboard that cannot be set up).
int initApplication(const platform::Module* instance, int showCommand);
// Releases whatever exists, then shows errorMessage once. Safe to repeat.
void shutdownApp();
int64_t windowProc(platform::Window* window, platform::MessageKind kind, int64_t wParam);
