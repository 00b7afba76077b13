// Each key and pad button one meaning on the settings screen.

#include "app/screen_keys.h"

#include <algorithm>
#include <string_view>

#include "shell/key_bindings.h"

namespace {

using namespace platform;

// The screen's meanings of the player's controls, in the order a key given
// to two of them takes the first.
struct BoundMeaning {
    std::string_view control;
    ScreenMeaning meaning;
};

constexpr BoundMeaning boundMeanings[] = {
    {"up", ScreenMeaning::up},          {"down", ScreenMeaning::down},
    {"left", ScreenMeaning::left},      {"right", ScreenMeaning::right},
    {"confirm", ScreenMeaning::enter},  {"quit", ScreenMeaning::back},
    {"settings", ScreenMeaning::close}, {"screenshot", ScreenMeaning::picture},
};

template <typename Code, typename Lists>
ScreenMeaning boundMeaning(const Lists& lists, Code code) {
    for (const BoundMeaning& bound : boundMeanings) {
        const auto& list = lists[controlIndex(bound.control)];
        if (std::find(list.begin(), list.end(), code) != list.end()) return bound.meaning;
    }
    return ScreenMeaning::none;
}

}  // namespace

ScreenMeaning keyMeaning(uint8_t code) {
    switch (code) {
        case DIK_UP:
            return ScreenMeaning::up;
        case DIK_DOWN:
            return ScreenMeaning::down;
        case DIK_LEFT:
            return ScreenMeaning::left;
        case DIK_RIGHT:
            return ScreenMeaning::right;
        case DIK_RETURN:
        case DIK_NUMPADENTER:
            return ScreenMeaning::enter;
        case DIK_ESCAPE:
            return ScreenMeaning::back;
        default:
            return boundMeaning(keyBindings().keys, code);
    }
}

ScreenMeaning padMeaning(PadButton button) {
    switch (button) {
        case PadButton::up:
            return ScreenMeaning::up;
        case PadButton::down:
            return ScreenMeaning::down;
        case PadButton::left:
            return ScreenMeaning::left;
        case PadButton::right:
            return ScreenMeaning::right;
        case PadButton::south:
            return ScreenMeaning::enter;
        case PadButton::east:
            return ScreenMeaning::back;
        default:
            return boundMeaning(keyBindings().pads, button);
    }
}

void ScreenKeys::hush(const KeySnapshot& keys, const PadState& pad) {
    for (int code = 0; code < 256; ++code) {
        if (keys.isDown(code)) quietKeys.keys[code] = 0x80;
    }
    for (size_t button = 0; button < padButtonCount; ++button) {
        if (padButtonHeld(pad, static_cast<PadButton>(button))) quietPad[button] = true;
    }
}

void ScreenKeys::look(const KeySnapshot& keys, const PadState& pad) {
    now = {};
    otherPress = false;
    const auto hold = [&](ScreenMeaning meaning, bool wentDown) {
        now[static_cast<size_t>(meaning)] = true;
        if (wentDown && meaning != ScreenMeaning::enter) otherPress = true;
    };
    for (int code = 1; code < 256; ++code) {
        if (!keys.isDown(code)) quietKeys.keys[code] = 0;
        if (!keys.isDown(code) || quietKeys.isDown(code)) continue;
        hold(keyMeaning(static_cast<uint8_t>(code)), !lastKeys.isDown(code));
    }
    for (size_t button = 0; button < padButtonCount; ++button) {
        const auto which = static_cast<PadButton>(button);
        const bool down = padButtonHeld(pad, which);
        if (!down) quietPad[button] = false;
        if (!down || quietPad[button]) continue;
        hold(padMeaning(which), !padButtonHeld(lastPad, which));
    }
    now[static_cast<size_t>(ScreenMeaning::none)] = false;
    lastKeys = keys;
    lastPad = pad;
}
