#pragma once
// The browser names every key by where it sits on the keyboard
// (KeyboardEvent.code: "ArrowLeft", "KeyL", "Space"), whatever the layout
// prints on it; that is what a scan code is, so each name maps to one.

#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/platform.h"

namespace platform::web {

// Keys of a full keyboard that the game's scan-code list leaves unnamed.
constexpr uint8_t dikOem102 = 0x56;  // the extra key beside left Shift on ISO keyboards
constexpr uint8_t dikSysRq = 0xB7;
constexpr uint8_t dikPause = 0xC5;
constexpr uint8_t dikApps = 0xDD;

using KeyName = std::pair<std::string_view, uint8_t>;

// Laid out row by row as on the keyboard, so a missing key is easy to spot.
// The key left of Return on ISO keyboards is reported as "Backslash" too.
constexpr KeyName keyNames[] = {
    {"Escape", DIK_ESCAPE},
    {"F1", DIK_F1},
    {"F2", DIK_F2},
    {"F3", DIK_F3},
    {"F4", DIK_F4},
    {"F5", DIK_F5},
    {"F6", DIK_F6},
    {"F7", DIK_F7},
    {"F8", DIK_F8},
    {"F9", DIK_F9},
    {"F10", DIK_F10},
    {"F11", DIK_F11},
    {"F12", DIK_F12},
    {"PrintScreen", dikSysRq},
    {"ScrollLock", DIK_SCROLL},
    {"Pause", dikPause},

    {"Backquote", DIK_GRAVE},
    {"Digit1", DIK_1},
    {"Digit2", DIK_2},
    {"Digit3", DIK_3},
    {"Digit4", DIK_4},
    {"Digit5", DIK_5},
    {"Digit6", DIK_6},
    {"Digit7", DIK_7},
    {"Digit8", DIK_8},
    {"Digit9", DIK_9},
    {"Digit0", DIK_0},
    {"Minus", DIK_MINUS},
    {"Equal", DIK_EQUALS},
    {"Backspace", DIK_BACK},

    {"Tab", DIK_TAB},
    {"KeyQ", DIK_Q},
    {"KeyW", DIK_W},
    {"KeyE", DIK_E},
    {"KeyR", DIK_R},
    {"KeyT", DIK_T},
    {"KeyY", DIK_Y},
    {"KeyU", DIK_U},
    {"KeyI", DIK_I},
    {"KeyO", DIK_O},
    {"KeyP", DIK_P},
    {"BracketLeft", DIK_LBRACKET},
    {"BracketRight", DIK_RBRACKET},
    {"Backslash", DIK_BACKSLASH},
    {"Enter", DIK_RETURN},

    {"CapsLock", DIK_CAPITAL},
    {"KeyA", DIK_A},
    {"KeyS", DIK_S},
    {"KeyD", DIK_D},
    {"KeyF", DIK_F},
    {"KeyG", DIK_G},
    {"KeyH", DIK_H},
    {"KeyJ", DIK_J},
    {"KeyK", DIK_K},
    {"KeyL", DIK_L},
    {"Semicolon", DIK_SEMICOLON},
    {"Quote", DIK_APOSTROPHE},

    {"ShiftLeft", DIK_LSHIFT},
    {"IntlBackslash", dikOem102},
    {"KeyZ", DIK_Z},
    {"KeyX", DIK_X},
    {"KeyC", DIK_C},
    {"KeyV", DIK_V},
    {"KeyB", DIK_B},
    {"KeyN", DIK_N},
    {"KeyM", DIK_M},
    {"Comma", DIK_COMMA},
    {"Period", DIK_PERIOD},
    {"Slash", DIK_SLASH},
    {"ShiftRight", DIK_RSHIFT},

    {"ControlLeft", DIK_LCONTROL},
    {"MetaLeft", DIK_LWIN},
    {"AltLeft", DIK_LMENU},
    {"Space", DIK_SPACE},
    {"AltRight", DIK_RMENU},
    {"MetaRight", DIK_RWIN},
    {"ContextMenu", dikApps},
    {"ControlRight", DIK_RCONTROL},

    {"Insert", DIK_INSERT},
    {"Home", DIK_HOME},
    {"PageUp", DIK_PRIOR},
    {"Delete", DIK_DELETE},
    {"End", DIK_END},
    {"PageDown", DIK_NEXT},
    {"ArrowUp", DIK_UP},
    {"ArrowLeft", DIK_LEFT},
    {"ArrowDown", DIK_DOWN},
    {"ArrowRight", DIK_RIGHT},

    {"NumLock", DIK_NUMLOCK},
    {"NumpadDivide", DIK_DIVIDE},
    {"NumpadMultiply", DIK_MULTIPLY},
    {"NumpadSubtract", DIK_SUBTRACT},
    {"Numpad7", DIK_NUMPAD7},
    {"Numpad8", DIK_NUMPAD8},
    {"Numpad9", DIK_NUMPAD9},
    {"NumpadAdd", DIK_ADD},
    {"Numpad4", DIK_NUMPAD4},
    {"Numpad5", DIK_NUMPAD5},
    {"Numpad6", DIK_NUMPAD6},
    {"Numpad1", DIK_NUMPAD1},
    {"Numpad2", DIK_NUMPAD2},
    {"Numpad3", DIK_NUMPAD3},
    {"NumpadEnter", DIK_NUMPADENTER},
    {"Numpad0", DIK_NUMPAD0},
    {"NumpadDecimal", DIK_DECIMAL},
};

// The scan code of the key the browser names, 0 for one the game's keyboard lacks.
constexpr uint8_t dikFromKeyCode(std::string_view code) {
    for (const auto& [name, dik] : keyNames) {
        if (name == code) return dik;
    }
    return 0;
}

// The page would scroll on these; the game flies with them instead.
constexpr bool keyScrollsThePage(uint8_t dik) {
    return dik == DIK_UP || dik == DIK_DOWN || dik == DIK_LEFT || dik == DIK_RIGHT ||
           dik == DIK_SPACE;
}

}  // namespace platform::web
