#pragma once
// What the help, the manual page and the README say of the keys and the
// gamepad, with every key and button of a control named from the control
// table's defaults, so that no page can name a key the game does not use.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// --help's "Keys:" list and its "Gamepad:" paragraph, a blank line between
// them, ending with a newline.
std::string controlsHelp();

// The manual page's KEYS and GAMEPAD sections, in roff, each ending with a
// newline, and the marker lines in the page where they go.
inline constexpr std::string_view manualKeysMarker = ".\\\" The keys, made from the control table.";
inline constexpr std::string_view manualGamepadMarker =
    ".\\\" The gamepad, made from the control table.";
std::string manualKeys();
std::string manualGamepad();
// The page with both in place of their markers; empty when one is missing.
std::optional<std::string> withManualControls(std::string_view page);

// The rows of the README's keys table, "| Key | Gamepad | what it does |",
// each as written there.
std::vector<std::string> readmeKeyRows();

// The names of the controls each of the help's lines tells of, in order; a
// line of the window's own keys tells of none. Once for the keys list and
// once for the gamepad's.
std::vector<std::string_view> keysListControls();
std::vector<std::string_view> gamepadControls();
