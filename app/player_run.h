#pragma once
// A run of the program in the player's hands, set up alike on the desktop
// and in a page: the player's own keys and pad buttons, the recording their
// games go into (--record's file, else the recordings folder while "record
// my games" is on), the replay asked for at start, the screenshot control,
// and the title with the replays watched from it.

#include <vector>

#include "app/main_loop.h"
#include "shell/options.h"
#include "shell/settings_file.h"

// Before the window opens: the player's keys from the settings, where the
// settings the loop and the recorder act on go, --record's file made and
// --replay's read. False, with the reason on standard error,
// when the game must not start: a recording that cannot be made, a replay
// that cannot be read.
bool setUpRun(const Options& options, const SettingsFile& settings);

// After start-up: the replay asked for, if any, then the title, run a frame
// at a time by titleOrReplayFrame. `listeners` hear every loop of the run
// besides the run's own; `screen` is what the settings control opens.
void beginRun(OverlayScreen* screen, const std::vector<LoopListener*>& listeners);

// After the loop: the recording gets its last line.
void finishRun();
