#pragma once
// The keys of a full keyboard once, for every back end: the scan code the
// game reads (platform.h's DIK_ values), the key's USB usage, which SDL uses
// as its scancode, and the name a browser gives the key
// (KeyboardEvent.code: "ArrowLeft", "KeyL"). Each names where the key sits,
// whatever the layout prints on it.

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace platform {

// Keys of a full keyboard that the game's scan-code list leaves unnamed.
constexpr uint8_t dikOem102 = 0x56;  // the extra key beside left Shift on ISO keyboards
constexpr uint8_t dikSysRq = 0xB7;
constexpr uint8_t dikApps = 0xDD;

struct KeyboardKey {
    uint8_t dik;
    uint16_t usbUsage;
    std::string_view browserCode;  // "" for a key the browser reports under another's name
};

// Laid out row by row as on the keyboard, so a missing key is easy to spot.
constexpr KeyboardKey keyboardKeys[] = {
    {DIK_ESCAPE, 0x29, "Escape"},
    {DIK_F1, 0x3A, "F1"},
    {DIK_F2, 0x3B, "F2"},
    {DIK_F3, 0x3C, "F3"},
    {DIK_F4, 0x3D, "F4"},
    {DIK_F5, 0x3E, "F5"},
    {DIK_F6, 0x3F, "F6"},
    {DIK_F7, 0x40, "F7"},
    {DIK_F8, 0x41, "F8"},
    {DIK_F9, 0x42, "F9"},
    {DIK_F10, 0x43, "F10"},
    {DIK_F11, 0x44, "F11"},
    {DIK_F12, 0x45, "F12"},
    {dikSysRq, 0x46, "PrintScreen"},
    {DIK_SCROLL, 0x47, "ScrollLock"},
    {DIK_PAUSE, 0x48, "Pause"},

    {DIK_GRAVE, 0x35, "Backquote"},
    {DIK_1, 0x1E, "Digit1"},
    {DIK_2, 0x1F, "Digit2"},
    {DIK_3, 0x20, "Digit3"},
    {DIK_4, 0x21, "Digit4"},
    {DIK_5, 0x22, "Digit5"},
    {DIK_6, 0x23, "Digit6"},
    {DIK_7, 0x24, "Digit7"},
    {DIK_8, 0x25, "Digit8"},
    {DIK_9, 0x26, "Digit9"},
    {DIK_0, 0x27, "Digit0"},
    {DIK_MINUS, 0x2D, "Minus"},
    {DIK_EQUALS, 0x2E, "Equal"},
    {DIK_BACK, 0x2A, "Backspace"},

    {DIK_TAB, 0x2B, "Tab"},
    {DIK_Q, 0x14, "KeyQ"},
    {DIK_W, 0x1A, "KeyW"},
    {DIK_E, 0x08, "KeyE"},
    {DIK_R, 0x15, "KeyR"},
    {DIK_T, 0x17, "KeyT"},
    {DIK_Y, 0x1C, "KeyY"},
    {DIK_U, 0x18, "KeyU"},
    {DIK_I, 0x0C, "KeyI"},
    {DIK_O, 0x12, "KeyO"},
    {DIK_P, 0x13, "KeyP"},
    {DIK_LBRACKET, 0x2F, "BracketLeft"},
    {DIK_RBRACKET, 0x30, "BracketRight"},
    {DIK_BACKSLASH, 0x31, "Backslash"},
    {DIK_RETURN, 0x28, "Enter"},

    {DIK_CAPITAL, 0x39, "CapsLock"},
    {DIK_A, 0x04, "KeyA"},
    {DIK_S, 0x16, "KeyS"},
    {DIK_D, 0x07, "KeyD"},
    {DIK_F, 0x09, "KeyF"},
    {DIK_G, 0x0A, "KeyG"},
    {DIK_H, 0x0B, "KeyH"},
    {DIK_J, 0x0D, "KeyJ"},
    {DIK_K, 0x0E, "KeyK"},
    {DIK_L, 0x0F, "KeyL"},
    {DIK_SEMICOLON, 0x33, "Semicolon"},
    {DIK_APOSTROPHE, 0x34, "Quote"},
    // The key left of Return on ISO keyboards sits where the US backslash is
    // and carries the same scan code there; the browser names it "Backslash".
    {DIK_BACKSLASH, 0x32, ""},

    {DIK_LSHIFT, 0xE1, "ShiftLeft"},
    {dikOem102, 0x64, "IntlBackslash"},
    {DIK_Z, 0x1D, "KeyZ"},
    {DIK_X, 0x1B, "KeyX"},
    {DIK_C, 0x06, "KeyC"},
    {DIK_V, 0x19, "KeyV"},
    {DIK_B, 0x05, "KeyB"},
    {DIK_N, 0x11, "KeyN"},
    {DIK_M, 0x10, "KeyM"},
    {DIK_COMMA, 0x36, "Comma"},
    {DIK_PERIOD, 0x37, "Period"},
    {DIK_SLASH, 0x38, "Slash"},
    {DIK_RSHIFT, 0xE5, "ShiftRight"},

    {DIK_LCONTROL, 0xE0, "ControlLeft"},
    {DIK_LWIN, 0xE3, "MetaLeft"},
    {DIK_LMENU, 0xE2, "AltLeft"},
    {DIK_SPACE, 0x2C, "Space"},
    {DIK_RMENU, 0xE6, "AltRight"},
    {DIK_RWIN, 0xE7, "MetaRight"},
    {dikApps, 0x65, "ContextMenu"},
    {DIK_RCONTROL, 0xE4, "ControlRight"},

    {DIK_INSERT, 0x49, "Insert"},
    {DIK_HOME, 0x4A, "Home"},
    {DIK_PRIOR, 0x4B, "PageUp"},
    {DIK_DELETE, 0x4C, "Delete"},
    {DIK_END, 0x4D, "End"},
    {DIK_NEXT, 0x4E, "PageDown"},
    {DIK_UP, 0x52, "ArrowUp"},
    {DIK_LEFT, 0x50, "ArrowLeft"},
    {DIK_DOWN, 0x51, "ArrowDown"},
    {DIK_RIGHT, 0x4F, "ArrowRight"},

    {DIK_NUMLOCK, 0x53, "NumLock"},
    {DIK_DIVIDE, 0x54, "NumpadDivide"},
    {DIK_MULTIPLY, 0x55, "NumpadMultiply"},
    {DIK_SUBTRACT, 0x56, "NumpadSubtract"},
    {DIK_NUMPAD7, 0x5F, "Numpad7"},
    {DIK_NUMPAD8, 0x60, "Numpad8"},
    {DIK_NUMPAD9, 0x61, "Numpad9"},
    {DIK_ADD, 0x57, "NumpadAdd"},
    {DIK_NUMPAD4, 0x5C, "Numpad4"},
    {DIK_NUMPAD5, 0x5D, "Numpad5"},
    {DIK_NUMPAD6, 0x5E, "Numpad6"},
    {DIK_NUMPAD1, 0x59, "Numpad1"},
    {DIK_NUMPAD2, 0x5A, "Numpad2"},
    {DIK_NUMPAD3, 0x5B, "Numpad3"},
    {DIK_NUMPADENTER, 0x58, "NumpadEnter"},
    {DIK_NUMPAD0, 0x62, "Numpad0"},
    {DIK_DECIMAL, 0x63, "NumpadDecimal"},
};

}  // namespace platform
