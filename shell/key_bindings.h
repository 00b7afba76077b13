#pragma once
// Which keys and pad buttons stand for each control. The settings file may
// name others, one line per control, a comma-separated list:
//
//   key-left = Left, A        key-land = L          key-quit = Escape
//   pad-land = A, RB          pad-screenshot = Y
//
// The controls are the control table's (shell/control_table.h).
// A line replaces that control's defaults (an empty list leaves it without
// any, but for key-settings, which keeps its own with a warning: the screen
// could never open); a name that is not known costs a warning naming the
// file and line, and the control keeps its defaults. Without such lines the keys are the
// game's own.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "game/controls.h"
#include "platform/platform.h"
#include "shell/control_table.h"
#include "shell/key_names.h"
#include "shell/pad_buttons.h"

struct KeyBindings {
    // Indexed as the control table.
    std::array<std::vector<uint8_t>, controlCount> keys;
    std::array<std::vector<PadButton>, controlCount> pads;
};

// The control table's defaults.
KeyBindings defaultKeyBindings();

// The key-* and pad-* lines of a settings file's text, as the settings
// file's reader splits it; every other line is the settings' own business
// and left alone.
KeyBindings parseKeyBindings(std::string_view text, const std::string& fileName,
                             std::ostream& warnings);

// The bindings the keyboard's polls use from now on, and those in use.
void useKeyBindings(const KeyBindings& bindings);
const KeyBindings& keyBindings();
// What the keys and pads held at one poll stand for.
Controls boundControls(const uint8_t (&keys)[256], const platform::PadState& pad);
// Whether start is held only by keys and buttons that are confirm's too (a
// pad's Start is both unless the player says otherwise).
bool startHeldOnlyAsConfirm(const uint8_t (&keys)[256], const platform::PadState& pad);
