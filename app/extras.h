#pragma once
// What the desktop game adds around the loop: the player's own keys and pad
// buttons, screenshots (not on Windows, which has no libpng from Debian),
// recording the games played and playing a replay.
// They sit beside the loop as its observer and its poll hook; the game
// itself never knows.

#include "shell/options.h"
#include "shell/settings_file.h"

// Call before the window opens. False, with the reason on standard error,
// when the game must not start: a recording that cannot be made, a replay
// that cannot be read.
bool setUpExtras(const Options& options, const SettingsFile& settings);

// The loop's observer calls these around every step.
void extrasBeforeStep();
void extrasAfterStep(int result);

// After the loop: a recording gets its last line.
void finishExtras();
