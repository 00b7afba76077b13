#pragma once
// The player's choices for this run: the settings file, overridden by the
// command line, sent where each setting goes (settings_table.h's SettingUse)
// before the window opens and again on every change; and the display choice
// remembered when the player switches it during play.

#include <string_view>

#include "shell/options.h"
#include "shell/settings_file.h"
#include "shell/settings_table.h"

// The settings as the file and the command line make them.
Settings chooseSettings(const Settings& fromFile, const Options& options);

// Where the settings of one use go: the display and the sound go to the
// machine without a word; the application says once, before the first
// settings are used, where the loop's and the recorder's go (the shell
// cannot reach them). A use without a place is not sent anywhere.
using SettingsReceiver = void (*)(const Settings& settings);
void sendSettingsTo(SettingUse use, SettingsReceiver receiver);

// Lays the command line over the settings file (a damaged one is reported on
// standard error) and sends the result wherever it goes. Call before
// start-up.
Settings usePreferences(const Options& options, const SettingsFile& settings);

// This run's settings as usePreferences chose them (and the display as the
// player last switched it), and whether the command line gave the setting
// of that name (a key or option of the settings table) this run: what a
// settings screen shows beside each row.
const Settings& currentSettings();
bool givenOnCommandLine(std::string_view name);
// This run's settings from now on, as a settings screen changed them: sent
// wherever they go at once (the window, the volume, the loop's pause, the
// recorder); their display is the one shown, so it is not saved again after
// the frame.
void useSettings(const Settings& settings);

// After a frame: when the player has switched between window and full screen
// (F11, Alt+Enter), the settings file learns the new choice.
void rememberDisplayChoice();
