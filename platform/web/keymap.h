#pragma once
// The browser names every key by where it sits on the keyboard
// (KeyboardEvent.code: "ArrowLeft", "KeyL", "Space"), whatever the layout
// prints on it; that is what a scan code is, so each name maps to one.

#include <cstdint>
#include <string_view>

#include "platform/keyboard_keys.h"

namespace platform::web {

// The scan code of the key the browser names, 0 for one the game's keyboard lacks.
constexpr uint8_t dikFromKeyCode(std::string_view code) {
    if (code.empty()) return 0;
    for (const KeyboardKey& key : keyboardKeys) {
        if (key.browserCode == code) return key.dik;
    }
    return 0;
}

// The page would scroll on these; the game flies with them instead.
constexpr bool keyScrollsThePage(uint8_t dik) {
    return dik == DIK_UP || dik == DIK_DOWN || dik == DIK_LEFT || dik == DIK_RIGHT ||
           dik == DIK_SPACE;
}

}  // namespace platform::web
