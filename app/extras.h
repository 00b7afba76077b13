#pragma once
// The desktop game's run: the one a page makes too (app/player_run.h), with
// the display choice kept for the next start. A replay is the loop's
// source, the recorder one of its listeners; the game itself never knows.

#include "platform/platform.h"
#include "shell/options.h"
#include "shell/settings_file.h"

// Call before the window opens. False, with the reason on standard error,
// when the game must not start: a recording that cannot be made, a replay
// that cannot be read.
bool setUpExtras(const Options& options, const SettingsFile& settings);

// The whole program with its extras: start-up, the replay's games if one was
// asked for, then the title with the player's own hands (and the replays
// they choose from it), and the teardown.
// The exit code: 1 when start-up failed, else 0.
int runDesktopGame(const platform::Module* instance, int showCommand);

// After the loop: a recording gets its last line.
void finishExtras();
