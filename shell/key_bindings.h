#pragma once
// Which keys and pad buttons stand for each control. The settings file may
// name others, one line per control, a comma-separated list:
//
//   key-left = Left, A        key-land = L          key-quit = Escape
//   pad-land = A, RB          pad-screenshot = Y
//
// Controls: left right up down land pause start confirm quit screenshot
// settings.
// A line replaces that control's defaults (an empty list leaves it without
// any); a name that is not known costs a warning naming the file and line,
// and the control keeps its defaults. Without such lines the keys are the
// game's own.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "game/controls.h"
#include "platform/platform.h"

enum class PadButton : uint8_t {
    left,
    right,
    up,
    down,
    south,
    east,
    west,
    north,
    leftShoulder,
    rightShoulder,
    start,
    back,
};

constexpr size_t controlCount = 11;

struct KeyBindings {
    // Indexed as the control names: left, right, up, down, land, pause,
    // start, confirm, quit, screenshot, settings.
    std::array<std::vector<uint8_t>, controlCount> keys;
    std::array<std::vector<PadButton>, controlCount> pads;
};

KeyBindings defaultKeyBindings();
// The control names, in the order of the bindings' arrays.
const std::array<std::string_view, controlCount>& controlNames();

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

// The scan code of a key name (any case), or 0 when it names no key.
uint8_t keyByName(std::string_view name);
// The name the settings file writes for a key ("Left", "A", "F12"); empty
// for a key without one. And for a pad button ("A", "RB").
std::string_view keyName(uint8_t code);
std::string_view padButtonName(PadButton button);
