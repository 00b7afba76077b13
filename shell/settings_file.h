#pragma once
// The player's remembered choices, one `key = value` a line in the settings
// folder's kordavan.conf ($XDG_CONFIG_HOME/kordavan/kordavan.conf, by
// default ~/.config/kordavan/kordavan.conf): the keys, their values and
// defaults are the file's rows of settings_table.h.
//
// Lines starting with # are comments. A line or value that cannot be read
// is reported on standard error with the file and line and the value the
// game uses instead; the file itself is never touched by reading. The game
// writes one setting's line at a time: the display line, when the player
// switches it.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "shell/setting_values.h"
#include "shell/setting_words.h"

struct SettingRow;

// Far beyond any real settings file; anything larger is not one, and the
// game never makes its file larger than it would read.
constexpr size_t largestSettingsFile = 64 * 1024;

// Where the settings live; empty where the machine has no place for them.
std::filesystem::path settingsPath();

// The file as read at start-up, once for everyone who reads lines of it (the
// settings here, the key-* and pad-* lines in key_bindings.h).
struct SettingsFile {
    std::filesystem::path path;
    std::string text;
};

// The file's text; empty, without a word, when there is none, and with a
// warning when it cannot be read.
SettingsFile readSettingsFile(const std::filesystem::path& path, std::ostream& warnings);

// A line that is not blank or a comment: `key = value`, both trimmed; a line
// that is not `key = value` has an empty key. Views into the text.
struct SettingLine {
    int lineNumber = 0;
    std::string_view key;
    std::string_view value;
    std::string_view text;  // the whole line, trimmed
};

// The lines of `text` that set something, in order, numbered as an editor
// numbers them.
std::vector<SettingLine> settingLines(std::string_view text);

// The settings in `text`, read from `fileName` (which the warnings name).
Settings parseSettings(std::string_view text, const std::string& fileName, std::ostream& warnings);

// The settings in the file; the defaults, without a word, when there is none.
Settings readSettings(const std::filesystem::path& path, std::ostream& warnings);

// `text` choosing full screen or the window: the display line that decides
// takes the new value and every other byte stays; a file without one gets
// it at the end. Unchanged when its display line already says so.
std::string withDisplayChoice(std::string_view text, bool fullscreen);
// The same for any setting of the file: its deciding line takes `value`
// (an index or number, as the row reads it).
std::string withSetting(std::string_view text, const SettingRow& row, int value);

// `text` with the last line of `key` taking `value` (the line the reader
// takes), or, when it has none, the line added at the end; every other byte
// stays. For lines no row of the table describes (the keys and pads).
std::string withLine(std::string_view text, std::string_view key, std::string_view value);

// Writes the display choice into the file as it is on disk now, so that
// whatever the player or another game wrote there meanwhile stays. Nothing
// is written when its display line already says so. A file that cannot be read, or
// may not be written, is left alone. False, with one line saying why, when
// the choice is not saved.
bool saveDisplayChoice(const std::filesystem::path& path, bool fullscreen, std::ostream& warnings);
// The same for any setting of the file, named by its key, with the value in
// the file's words ("window", "3", "yes"): only that setting's line changes.
// False, with a line saying so, for a name or value the file does not take.
bool saveSetting(const std::filesystem::path& path, std::string_view name, std::string_view value,
                 std::ostream& warnings);
// What every save does: `change` made to the file as it is on disk now (a
// new file's head when there is none) and the file replaced when that
// changed it, made again when another program wrote meanwhile. False, with a
// line naming `what` ("the volume setting"), when the change is not saved.
bool saveFileChange(const std::filesystem::path& path, const std::string& what,
                    const std::function<std::string(std::string_view)>& change,
                    std::ostream& warnings);
