#pragma once
// Every setting the player can give, written once: its name, what kind of
// value it takes and within what range, its default, its help and manual
// text, whether the command line takes it, the settings file, or both, its
// row on the settings screen, and where its value goes when it changes. The
// option parser, the settings file's reader and writer, --help, the manual
// page and the settings screen walk this table: adding a setting is one row
// here, a field in Settings (and in Options when the command line takes it),
// and its use. The table sits below all of them: it knows only the values
// (setting_values.h) and the words they are written in (setting_words.h).
//
// The key-* and pad-* lines of the file are not rows: there is one per
// control, and key_bindings.h reads them; the texts list them from its
// control names.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/setting_values.h"

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

// Where a value goes when it changes, at start-up and on the settings
// screen: the display and the sound are the machine's; the loop (the pause
// on focus loss) and the recorder of the player's games are the
// application's, which says at start-up where they go (preferences.h).
enum class SettingUse : uint8_t { none, display, sound, loop, recorder };
constexpr int settingUseCount = 5;

// How the settings screen words a value: in its own words for each value
// ("off|on"), as the file writes it (a volume of 70), or as a window size
// ("2x (1280x960)", 0 the largest that fits).
enum class ScreenValue : uint8_t { words, fileText, windowSize };
// What Left and Right step through: every value of the setting (a number by
// its step), or the window sizes that fit the desktop after "the largest
// that fits", which depend on the desktop the game runs on.
enum class ScreenChoices : uint8_t { everyValue, windowsThatFit };

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
    SettingUse use = SettingUse::none;
    // Its row on the settings screen, in the table's order; not shown there
    // without a label.
    std::string_view screenLabel = {};
    ScreenValue screenValue = ScreenValue::fileText;
    std::string_view screenWords = {};  // for words: the value's, '|' between them
    ScreenChoices screenChoices = ScreenChoices::everyValue;
    int screenStep = 1;  // a number's step on the screen
};

std::span<const SettingRow> settingsTable();
// The row of that option or key, matched as the file matches keys (in any
// case); null when there is none.
const SettingRow* findSetting(std::string_view name);

// The rows the settings screen shows, in its order.
std::vector<const SettingRow*> screenRows();

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
