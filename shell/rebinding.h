#pragma once
// Giving a control the key or pad button the player presses on the settings
// screen. The pressed key becomes the control's one key. A key another
// control already has is swapped: that control takes this one's old key in
// its place, so no control is left without a key by a change of mind. A key
// the settings file has no name for (F11, which switches between window and
// full screen, or a key of a keyboard of another country) cannot be given,
// and nothing changes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/key_bindings.h"

struct BindingChange {
    bool changed = false;
    // What happened, in a line for the screen: "Land is now K; Up had it
    // and takes L instead (swapped)", "F11 ...: it cannot be given".
    std::string said;
    // The controls whose keys changed (this one, and one it swapped with).
    std::vector<size_t> controls;
};

BindingChange bindKey(KeyBindings& bindings, size_t control, uint8_t code);
BindingChange bindPad(KeyBindings& bindings, size_t control, PadButton button);
