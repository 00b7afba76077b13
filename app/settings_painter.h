#pragma once
// How the settings screen looks: a dark panel over the dimmed frame it
// opened over, the page's heading, its rows with their values at the right
// and the player's row shaded, the lines that say what happened, and a Back
// button for the mouse and touch. Where each thing sits, for the pointer too.

#include <cstddef>
#include <optional>

#include "platform/platform.h"
#include "shell/settings_menu.h"

// The rows that fit on the panel at once; a longer page scrolls.
constexpr size_t visibleRows = 12;

// The first row shown, so that the selected one is on the panel, moving
// `top` (the first row shown last time) no more than needed.
size_t firstShownRow(size_t top, size_t selected, size_t count);

// Draws the model's page over `under` (the frame the screen opened over)
// into `target`, rows from `top` on.
void paintSettingsScreen(platform::Surface& target, const platform::Surface& under,
                         const SettingsScreenModel& model, size_t top);

// What a press of the pointer at `point` is on.
struct PointerTarget {
    enum class What : uint8_t { nothing, row, lessArrow, back } what = What::nothing;
    size_t row = 0;
};
PointerTarget pointerTarget(platform::PicturePoint point, const SettingsScreenModel& model,
                            size_t top);
