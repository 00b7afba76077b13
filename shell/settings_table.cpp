// The settings table itself, and how a value is written and read in the
// settings file's words.

#include "shell/settings_table.h"

#include <algorithm>
#include <array>
#include <type_traits>

#include "game/decimal_text.h"
#include "shell/setting_words.h"

namespace {

// What the command line said, as one number: nothing when it said nothing.
std::optional<int> said(bool given) {
    return given ? std::optional<int>(1) : std::nullopt;
}
std::optional<int> said(const std::optional<int>& number) {
    return number;
}
std::optional<int> said(const std::optional<DisplayMode>& display) {
    if (!display) return std::nullopt;
    return *display == DisplayMode::fullscreen ? 1 : 0;
}
std::optional<int> said(const std::string& file) {
    return file.empty() ? std::nullopt : std::optional<int>(1);
}

void take(bool& given, int number, std::string_view) {
    given = number != 0;
}
void take(std::optional<int>& field, int number, std::string_view) {
    field = number;
}
// The display's words are window (0) and fullscreen (1).
void take(std::optional<DisplayMode>& display, int number, std::string_view) {
    display = number != 0 ? DisplayMode::fullscreen : DisplayMode::window;
}
void take(std::string& file, int, std::string_view text) {
    file = text;
}

// The glue of one row to its fields; nullptr where it has none.
template <auto settingsField, auto optionsField>
constexpr SettingFields fieldsOf() {
    SettingFields fields;
    if constexpr (!std::is_null_pointer_v<decltype(settingsField)>) {
        fields.read = [](const Settings& settings) {
            return static_cast<int>(settings.*settingsField);
        };
        fields.write = [](Settings& settings, int value) {
            using Field = std::remove_cvref_t<decltype(settings.*settingsField)>;
            settings.*settingsField = static_cast<Field>(value);
        };
    }
    if constexpr (!std::is_null_pointer_v<decltype(optionsField)>) {
        fields.said = [](const Options& options) { return said(options.*optionsField); };
        fields.take = [](Options& options, int number, std::string_view text) {
            take(options.*optionsField, number, text);
        };
    }
    return fields;
}

using enum SettingKind;

// In the order --help and the manual list them; the file's keys keep theirs.
constexpr std::array rows = {
    SettingRow{.name = "display",
               .kind = word,
               .place = settingsFile,
               .byDefault = 1,
               .words = "window|fullscreen",
               .help = "window or full screen",
               .fields = fieldsOf<&Settings::fullscreen, &Options::display>(),
               .use = SettingUse::display,
               .screenLabel = "Display",
               .screenValue = ScreenValue::words,
               .screenWords = "window|full screen"},
    SettingRow{.name = "fullscreen",
               .kind = pick,
               .place = commandLine,
               .byDefault = 1,
               .words = "display",
               .help = "play full screen"},
    SettingRow{.name = "window",
               .kind = pick,
               .place = commandLine,
               .byDefault = 0,
               .words = "display",
               .help = "play in a window",
               .details = "The last of --window and --fullscreen wins."},
    SettingRow{.name = "scale",
               .kind = number,
               .low = minScale,
               .high = maxScale,
               .byDefault = 0,
               .argument = "N",
               .defaultText = "the largest window that fits",
               .help = "make the window N times 640x480",
               .details = "A window larger than the desktop is cut down to the largest that fits, "
                          "with a warning.",
               .fields = fieldsOf<&Settings::scale, &Options::scale>(),
               .use = SettingUse::display,
               .screenLabel = "Window size",
               .screenValue = ScreenValue::windowSize,
               .screenChoices = ScreenChoices::windowsThatFit},
    SettingRow{.name = "integer-scale",
               .kind = flag,
               .help = "scale by whole multiples only, keeping pixels sharp",
               .fields = fieldsOf<&Settings::integerScale, &Options::integerScale>(),
               .use = SettingUse::display,
               .screenLabel = "Sharp pixels (whole multiples)",
               .screenValue = ScreenValue::words,
               .screenWords = "off|on"},
    SettingRow{.name = "no-sound",
               .kind = flag,
               .place = commandLine,
               .help = "play on a silent sound device",
               .details = "It keeps time as a real one does, for a machine without a usable "
                          "sound card.",
               .fields = fieldsOf<&Settings::noSound, &Options::noSound>(),
               .use = SettingUse::sound},
    SettingRow{.name = "volume",
               .kind = number,
               .low = minVolume,
               .high = maxVolume,
               .byDefault = maxVolume,
               .argument = "N",
               .help = "sound volume",
               .details = "0 is silent, 100 full.",
               .fields = fieldsOf<&Settings::volume, &Options::volume>(),
               .use = SettingUse::sound,
               .screenLabel = "Volume",
               // In tens: a hundred steps would take the player too long.
               .screenStep = 10},
    SettingRow{.name = "pause-on-focus-loss",
               .kind = flag,
               .help = "pause when the window loses the focus",
               .fields = fieldsOf<&Settings::pauseOnFocusLoss, &Options::pauseOnFocusLoss>(),
               .use = SettingUse::loop,
               .screenLabel = "Pause when the window loses focus",
               .screenValue = ScreenValue::words,
               .screenWords = "off|on"},
    SettingRow{.name = "record-games",
               .kind = flag,
               .place = settingsFile,
               .help = "keep every game played as a replay in the recordings folder",
               .details = "The recordings folder sits beside the settings file and keeps the "
                          "last 50 recordings; older ones are removed as new ones come. "
                          "--record writes into its own file instead.",
               .fields = fieldsOf<&Settings::recordGames, nullptr>(),
               .use = SettingUse::recorder,
               .screenLabel = "Record my games",
               .screenValue = ScreenValue::words,
               .screenWords = "off|on"},
    SettingRow{.name = "record",
               .kind = file,
               .place = commandLine,
               .argument = "FILE",
               .help = "write every game played into a new replay file (a name already "
                       "taken is refused)",
               .details = "The file is written line by line as the game goes: a game cut short "
                          "by a crash or a kill is kept up to its last whole step. FILE must be "
                          "a new name: whatever is there already is refused before the window "
                          "opens and keeps every byte. Nothing is written until a game begins. "
                          "A write that fails or would wait ends the recording with a message; "
                          "play goes on. REPLAY FILES below describes the file.",
               .fields = fieldsOf<nullptr, &Options::recordFile>()},
    SettingRow{.name = "replay",
               .kind = file,
               .place = commandLine,
               .argument = "FILE",
               .help = "play a replay file back, then show the title",
               .details = "The games are played back in the window at normal speed, one after "
                          "the other. Only Escape and Pause act meanwhile; the end pictures go "
                          "away as they did when the games were recorded. A file that is not a "
                          "replay is refused with the line that is wrong (exit status 2). It "
                          "cannot be used together with --record.",
               .fields = fieldsOf<nullptr, &Options::replayFile>()},
    SettingRow{.name = "help",
               .kind = action,
               .place = commandLine,
               .byDefault = static_cast<int>(CommandLineAction::showHelp),
               .help = "show the options and the keys, and exit"},
    SettingRow{.name = "version",
               .kind = action,
               .place = commandLine,
               .byDefault = static_cast<int>(CommandLineAction::showVersion),
               .help = "show the version and exit"},
};

// The words of a word setting, in order.
template <typename Visit>
void eachWord(std::string_view words, Visit visit) {
    for (int index = 0;; ++index) {
        const auto bar = words.find('|');
        visit(index, words.substr(0, bar));
        if (bar == std::string_view::npos) return;
        words.remove_prefix(bar + 1);
    }
}

}  // namespace

std::span<const SettingRow> settingsTable() {
    return rows;
}

std::vector<const SettingRow*> screenRows() {
    std::vector<const SettingRow*> shown;
    for (const SettingRow& row : rows) {
        if (!row.screenLabel.empty()) shown.push_back(&row);
    }
    return shown;
}

const SettingRow* findSetting(std::string_view name) {
    for (const SettingRow& row : rows) {
        if (sameWord(row.name, name)) return &row;
    }
    return nullptr;
}

int fileLow(const SettingRow& row) {
    return std::min(row.low, row.byDefault);
}

std::string_view settingWord(const SettingRow& row, int index) {
    std::string_view found;
    eachWord(row.words, [&](int at, std::string_view word) {
        if (at == index) found = word;
    });
    return found;
}

std::string settingText(const SettingRow& row, int value) {
    switch (row.kind) {
        case flag:
            return value != 0 ? "yes" : "no";
        case number:
            return std::to_string(std::clamp(value, fileLow(row), row.high));
        case word:
            return std::string(settingWord(row, value));
        default:
            return {};
    }
}

std::optional<int> readSettingValue(const SettingRow& row, std::string_view text) {
    std::optional<int> value;
    switch (row.kind) {
        case flag:
            return yesOrNo(text);
        case number:
            if (const auto number = wholeNumber(text, fileLow(row), row.high))
                return static_cast<int>(*number);
            return std::nullopt;
        case word:
            eachWord(row.words, [&](int index, std::string_view word) {
                if (sameWord(text, word)) value = index;
            });
            return value;
        default:
            return std::nullopt;
    }
}

std::string expectedText(const SettingRow& row) {
    switch (row.kind) {
        case flag:
            return "yes or no";
        case number:
            return "a whole number from " + std::to_string(fileLow(row)) + " to " +
                   std::to_string(row.high);
        case word: {
            std::string text;
            eachWord(row.words, [&](int index, std::string_view word) {
                text += (index > 0 ? " or " : "") + std::string(word);
            });
            return text;
        }
        default:
            return {};
    }
}

std::string fileForm(const SettingRow& row) {
    const std::string key = std::string(row.name) + " = ";
    switch (row.kind) {
        case flag:
            return key + "yes|no";
        case number:
            return key + std::string(row.argument);
        default:
            return key + std::string(row.words);
    }
}
