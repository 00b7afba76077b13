#include "platform/sdl/keymap.h"

#include <SDL.h>

#include <array>

#include "platform/keyboard_keys.h"

namespace platform::sdl {

namespace {

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> buildTable() {
    std::array<uint8_t, SDL_NUM_SCANCODES> table{};
    for (const KeyboardKey& key : keyboardKeys) {
        table[key.usbUsage] = key.dik;
    }
    return table;
}

// SDL's scancodes are the keys' USB usages.
static_assert(SDL_SCANCODE_A == 0x04 && SDL_SCANCODE_ESCAPE == 0x29 && SDL_SCANCODE_UP == 0x52 &&
              SDL_SCANCODE_RGUI == 0xE7);

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> table = buildTable();

}  // namespace

uint8_t dikFromScancode(int sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) {
        return 0;
    }
    return table[static_cast<size_t>(sdlScancode)];
}

}  // namespace platform::sdl
