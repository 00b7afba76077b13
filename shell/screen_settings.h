#pragma once
// The settings the settings screen shows, in its order, with the words it
// shows their values in. A change takes effect at once and is saved in the
// settings file straight away, its line alone; a setting the command line
// gave this run changes for this run only, and the file keeps its own.

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "shell/settings_file.h"
#include "shell/settings_table.h"

struct ScreenSetting {
    std::string_view name;  // the settings table's row
    std::string_view label;
};

std::span<const ScreenSetting> screenSettings();
const SettingRow& tableRow(const ScreenSetting& setting);

// The value as the screen says it: "full screen", "2x", "on", "70".
std::string valueText(const ScreenSetting& setting, const Settings& settings);
// The value one choice up (direction 1) or down (-1) from the one in
// `settings`; at either end it stays, or comes round when `wrap`.
int steppedValue(const ScreenSetting& setting, const Settings& settings, int direction, bool wrap);

// This run's settings with `value` for the setting, at once (the window, the
// volume) and in the file. What happened, in a line or two for the screen;
// a save that failed also goes to `warnings`.
std::string changeSetting(const std::filesystem::path& file, const ScreenSetting& setting,
                          int value, std::ostream& warnings);
// Every setting of the screen and every key and pad button back to the
// game's own, at once and in the file (in one write).
std::string restoreDefaults(const std::filesystem::path& file, std::ostream& warnings);

// A failed save's warning as the screen shows it: its first line, without
// the program's name, the settings file named without its folder.
std::string failureLine(const std::string& warning, const std::filesystem::path& file);

// The display and the sound as `settings` say, for the machine.
void applySettings(const Settings& settings);
