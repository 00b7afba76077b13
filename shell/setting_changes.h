#pragma once
// What the settings screen does to a setting: the words it shows its value
// in, the values Left and Right step through, and the change itself, which
// takes effect at once and is saved in the settings file straight away, its
// line alone; a setting the command line gave this run changes for this run
// only, and the file keeps its own. The rows are the settings table's that
// carry a screen label.

#include <filesystem>
#include <iosfwd>
#include <string>

#include "shell/setting_values.h"
#include "shell/settings_table.h"

// The value as the screen says it: "full screen", "2x (1280x960)", "on", "70".
std::string screenText(const SettingRow& row, int value);
// The value one choice up (direction 1) or down (-1) from the one in
// `settings`; at either end it stays, or comes round when `wrap`.
int steppedValue(const SettingRow& row, const Settings& settings, int direction, bool wrap);

// This run's settings with `value` for the setting, at once (the window, the
// volume) and in the file. What happened, in a line or two for the screen;
// a save that failed also goes to `warnings`.
std::string changeSetting(const std::filesystem::path& file, const SettingRow& row, int value,
                          std::ostream& warnings);
// Every setting of the screen and every key and pad button back to the
// game's own, at once and in the file (in one write).
std::string restoreDefaults(const std::filesystem::path& file, std::ostream& warnings);

// A failed save's warning as the screen shows it: its first line, without
// the program's name, the settings file named without its folder.
std::string failureLine(const std::string& warning, const std::filesystem::path& file);
