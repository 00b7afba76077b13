#pragma once
// The real machine: SDL's window, renderer, audio device and keyboard.

namespace platform {

// Makes the SDL back end the one behind every platform call.
void useSdlBackend();

}  // namespace platform
