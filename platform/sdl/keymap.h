#pragma once
// Which key the game sees for each key SDL reports.

#include <cstdint>

namespace platform::sdl {

// The scan code (platform.h's DIK_ values) of an SDL scancode; 0 for keys the
// game's keyboard does not have.
uint8_t dikFromScancode(int sdlScancode);

}  // namespace platform::sdl
