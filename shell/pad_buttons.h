#pragma once
// A pad's buttons as the settings name them, and whether one is held.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

// The d-pad's directions take the left stick's with them.
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

// Whether the button is held at this poll: the one place that knows which
// part of a pad's state each button is.
bool padButtonHeld(const platform::PadState& pad, PadButton button);

// The button of a name (any case: "A", "South", "Cross"), if any.
std::optional<PadButton> padByName(std::string_view name);
// The name the settings file writes for a button ("A", "RB").
std::string_view padButtonName(PadButton button);
// Buttons as the settings file writes them: "A, RB"; "none" for none.
std::string padNames(const std::vector<PadButton>& buttons);
