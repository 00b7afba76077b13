#pragma once
// The manual page's lists of options, settings file keys, controls and the
// settings screen's rows, made from the settings table, the control names
// and the screen's links when the game is built, so that the page says what
// the game takes. The page's own text holds a marker
// line where each list goes.

#include <optional>
#include <string>
#include <string_view>

#include "shell/manual_lists.h"

// The markers: roff comments, so that the page without its lists still reads.
inline constexpr std::string_view manualOptionsMarker =
    ".\\\" The options, made from the settings table.";
inline constexpr std::string_view manualFileKeysMarker =
    ".\\\" The settings file's keys, made from the settings table.";
inline constexpr std::string_view manualControlsMarker =
    ".\\\" The controls, made from the key bindings.";
inline constexpr std::string_view manualScreenMarker =
    ".\\\" The settings screen's rows, made from the settings table.";

// Each list in roff, ending with a newline.
std::string manualOptions();
std::string manualFileKeys();
std::string manualControls();
std::string manualScreenRows();

// The page with its lists in place of the markers; empty when a marker is
// missing, so a page that lost one is not installed without its lists.
std::optional<std::string> manualPage(std::string_view page);
