// Pad buttons: what each is in a pad's state, and its names.

#include "shell/pad_buttons.h"

#include <iterator>

#include "shell/settings_file.h"

namespace {

using platform::PadState;

// In the order of PadButton, so that a button is its own index here.
constexpr bool PadState::*heldBy[] = {
    &PadState::left,         &PadState::right,         &PadState::up,    &PadState::down,
    &PadState::south,        &PadState::east,          &PadState::west,  &PadState::north,
    &PadState::leftShoulder, &PadState::rightShoulder, &PadState::start, &PadState::back,
};
static_assert(std::size(heldBy) == static_cast<size_t>(PadButton::back) + 1);

struct PadName {
    const char* name;
    PadButton button;
};

// Each button's first name is the one written; the others are what other
// makers print on the same place.
constexpr PadName padNamesRead[] = {
    {"Left", PadButton::left},
    {"Right", PadButton::right},
    {"Up", PadButton::up},
    {"Down", PadButton::down},
    {"A", PadButton::south},
    {"South", PadButton::south},
    {"Cross", PadButton::south},
    {"B", PadButton::east},
    {"East", PadButton::east},
    {"Circle", PadButton::east},
    {"X", PadButton::west},
    {"West", PadButton::west},
    {"Square", PadButton::west},
    {"Y", PadButton::north},
    {"North", PadButton::north},
    {"Triangle", PadButton::north},
    {"LB", PadButton::leftShoulder},
    {"LeftShoulder", PadButton::leftShoulder},
    {"RB", PadButton::rightShoulder},
    {"RightShoulder", PadButton::rightShoulder},
    {"Start", PadButton::start},
    {"Back", PadButton::back},
    {"Select", PadButton::back},
};

}  // namespace

bool padButtonHeld(const PadState& pad, PadButton button) {
    return pad.*heldBy[static_cast<size_t>(button)];
}

std::optional<PadButton> padByName(std::string_view name) {
    for (const PadName& pad : padNamesRead) {
        if (sameWord(name, pad.name)) return pad.button;
    }
    return std::nullopt;
}

std::string_view padButtonName(PadButton button) {
    for (const PadName& pad : padNamesRead) {
        if (pad.button == button) return pad.name;
    }
    return {};
}

std::string padNames(const std::vector<PadButton>& buttons) {
    if (buttons.empty()) return "none";
    std::string text;
    for (const PadButton button : buttons) {
        if (!text.empty()) text += ", ";
        text += padButtonName(button);
    }
    return text;
}
