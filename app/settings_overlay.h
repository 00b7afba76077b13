#pragma once
// The settings screen as the loop opens it over the title or a paused game:
// it takes the keyboard, the pads and the pointer as the loop's source reads
// them, every press acting once as it goes down, and draws the model of
// shell/settings_menu.h over the frame it opened over.
//
// Keys: Up and Down choose a row, Left and Right change its value, Return
// does what the row says, Escape goes back a page and closes the first; the
// player's own keys for those controls work too (app/screen_keys.h), and the
// settings key closes the screen from any page. Pads: the d-pad, A to do, B to go back. Mouse
// and touch: a press on a row chooses it and does it, the Back button goes
// back.

#include <filesystem>
#include <memory>

#include "app/main_loop.h"

// The one screen of the desktop game, saving in the settings file and
// listing the recordings folder as they are when it is first asked for.
OverlayScreen& settingsOverlay();

// A screen of its own over another file and folder, for tests.
std::unique_ptr<OverlayScreen> makeSettingsOverlay(const std::filesystem::path& settingsFile,
                                                   const std::filesystem::path& recordings);
