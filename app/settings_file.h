#pragma once
// The player's remembered choices, one `key = value` a line in
// $XDG_CONFIG_HOME/kordavan/kordavan.conf (~/.config/kordavan/kordavan.conf
// when that is not set):
//
//   display = window | fullscreen
//   scale = 0 to 16 (0: the largest window that fits the desktop)
//   integer-scale = yes | no
//   volume = 0 to 100
//   pause-on-focus-loss = yes | no
//
// Lines starting with # are comments. A line or value that cannot be read
// is reported on standard error with the file and line, and its setting
// keeps its default; the file itself is never touched by reading. Writing
// keeps comments, blank lines and keys it does not know where they were.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

constexpr int maxSettingsScale = 16;

struct Settings {
    bool fullscreen = true;
    int scale = 0;
    bool integerScale = false;
    int volume = 100;
    bool pauseOnFocusLoss = false;

    bool operator==(const Settings&) const = default;
};

// Where the settings live; empty when the environment names no home at all.
std::filesystem::path settingsPath();

// The settings in `text`, read from `fileName` (which the warnings name).
Settings parseSettings(std::string_view text, const std::string& fileName, std::ostream& warnings);

// `text` with every known key set to `settings`: each key's first line takes
// the new value, any later line of the same key goes, keys not there yet are
// added at the end, and every other line stays as it was.
std::string updateSettingsText(std::string_view text, const Settings& settings);

// The settings in the file; the defaults, without a word, when there is none.
Settings readSettings(const std::filesystem::path& path, std::ostream& warnings);

// Writes the settings into the file, keeping its other lines, through a
// temporary file renamed over it, so the file is never seen half written.
// A file that is there but cannot be read is left alone, as its lines
// could not be kept. False, with a warning, when nothing was written.
bool writeSettings(const std::filesystem::path& path, const Settings& settings,
                   std::ostream& warnings);
