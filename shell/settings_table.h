#pragma once
// Every setting the player can give, written once: its name, what kind of
// value it takes and within what range, its default, one line of help, and
// whether the command line takes it, the settings file, or both. The option
// parser, the settings file's reader and writer, --help and the manual page
// walk this table, and so will a settings screen: adding a setting is one row
// here, a field in Settings or Options, and its use.
//
// The key-* and pad-* lines of the file are not rows: there is one per
// control, and key_bindings.h reads them; the texts list them from its
// control names.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct Settings;
struct Options;

enum class SettingKind : uint8_t {
    flag,    // yes or no; on the command line, an option that says yes
    number,  // a whole number from low to high
    word,    // one of its words, numbered from 0
    pick,    // an option that picks one word (byDefault) of another setting (words)
    file,    // an option followed by a file's name
    action,  // an option that does something instead of playing (byDefault: which)
};

// Where a setting can be given.
enum SettingPlace : uint8_t {
    commandLine = 1,
    settingsFile = 2,
    everywhere = commandLine | settingsFile,
};

// How a row reaches its field in Settings (what the file chose) and in
// Options (what the command line said); null where it has none.
struct SettingFields {
    int (*read)(const Settings&) = nullptr;
    void (*write)(Settings&, int) = nullptr;
    // Empty when the command line did not say it.
    std::optional<int> (*said)(const Options&) = nullptr;
    void (*take)(Options&, int number, std::string_view text) = nullptr;
};

struct SettingRow {
    std::string_view name;  // the option without its dashes, or the file's key
    SettingKind kind = SettingKind::flag;
    SettingPlace place = everywhere;
    // A number's range on the command line. The file also takes the default
    // itself, which may lie outside it (a scale of 0: the largest that fits).
    int low = 0;
    int high = 0;
    int byDefault = 0;  // a number, 1 for yes, or the index of a word
    // A word's values, '|' between them; for a pick, the setting it picks in.
    std::string_view words = {};
    std::string_view argument = {};     // the value's name in the help: N, FILE
    std::string_view defaultText = {};  // the default in words, where its number says little
    std::string_view help = {};         // one line, lower case, without a full stop
    std::string_view details = {};      // more for the manual page, whole sentences
    SettingFields fields = {};
};

std::span<const SettingRow> settingsTable();
// The row of that option or key, matched as the file matches keys (in any
// case); null when there is none.
const SettingRow* findSetting(std::string_view name);

// A number's lowest value in the file: the range and the default.
int fileLow(const SettingRow& row);
// The word `index` of a word setting.
std::string_view settingWord(const SettingRow& row, int index);

// A value as the file writes it (window, 3, yes), and as the file reads it:
// empty when the text is not a value of this setting.
std::string settingText(const SettingRow& row, int value);
std::optional<int> readSettingValue(const SettingRow& row, std::string_view text);
// What the file takes for this setting, for a warning: "yes or no", "a whole
// number from 0 to 16".
std::string expectedText(const SettingRow& row);
// The form of a file line in the help: "display = window|fullscreen", "volume = N".
std::string fileForm(const SettingRow& row);
