// The command line in the GNU manner, read with getopt_long. Every option is
// long only: the game has few of them and none is typed often enough to earn
// a letter.

#include "shell/options.h"

#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "game/decimal_text.h"
#include "shell/controls_help.h"
#include "shell/key_bindings.h"
#include "shell/setting_words.h"
#include "shell/settings_table.h"
#include "shell/version.h"

namespace {

// getopt_long hands back the table's index above this, so that a code cannot
// be mistaken for a short option.
constexpr int firstCode = 256;

// The table's command-line rows as getopt_long reads them. The names are
// the table's string literals, so they end with a zero.
const std::vector<option>& longOptions() {
    static const std::vector<option> list = [] {
        std::vector<option> out;
        const auto table = settingsTable();
        for (size_t index = 0; index < table.size(); ++index) {
            const SettingRow& row = table[index];
            if (!(row.place & commandLine)) continue;
            const bool value = row.kind == SettingKind::number || row.kind == SettingKind::file;
            out.push_back({row.name.data(), value ? required_argument : no_argument, nullptr,
                           firstCode + static_cast<int>(index)});
        }
        out.push_back({nullptr, 0, nullptr, 0});
        return out;
    }();
    return list;
}

const SettingRow& rowOf(int code) {
    return settingsTable()[static_cast<size_t>(code - firstCode)];
}

std::string nameOf(int code) {
    return code >= firstCode ? std::string(rowOf(code).name) : "?";
}

bool takesValue(int code) {
    for (const option& o : longOptions())
        if (o.name && o.val == code) return o.has_arg == required_argument;
    return false;
}

// The command line's numbers start with a digit: "-0" is no volume of 0.
std::optional<int> numberWithin(std::string_view text, int low, int high) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    const std::optional<int64_t> value = wholeNumber(text, low, high);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

CommandLine refused(std::string problem) {
    CommandLine refusal;
    refusal.action = CommandLineAction::refuse;
    refusal.problem = std::move(problem);
    return refusal;
}

std::string rangeProblem(const SettingRow& row, const char* value) {
    return "--" + std::string(row.name) + " takes a whole number from " + std::to_string(row.low) +
           " to " + std::to_string(row.high) + ", not '" + value + "'";
}

// Records one option of the table; what is wrong with its value, if anything.
std::optional<std::string> takeOption(const SettingRow& row, const char* value,
                                      CommandLine& result) {
    Options& options = result.options;
    switch (row.kind) {
        case SettingKind::flag:
            row.fields.take(options, 1, {});
            break;
        case SettingKind::number: {
            const std::optional<int> number = numberWithin(value, row.low, row.high);
            if (!number) return rangeProblem(row, value);
            row.fields.take(options, *number, {});
            break;
        }
        case SettingKind::word:
            break;
        case SettingKind::pick:
            findSetting(row.words)->fields.take(options, row.byDefault, {});
            break;
        case SettingKind::file:
            if (*value == '\0') return "--" + std::string(row.name) + " needs a file";
            row.fields.take(options, 0, value);
            break;
        case SettingKind::action:
            result.action = static_cast<CommandLineAction>(row.byDefault);
            break;
    }
    return std::nullopt;
}

// getopt_long says only "not one of mine" for both an unknown name and a
// prefix that fits several; the player deserves to know which.
std::string unknownLongOption(std::string_view word) {
    if (!word.starts_with("--")) return "unknown option '" + std::string(word) + "'";
    std::string_view name = word.substr(2);
    name = name.substr(0, name.find('='));
    std::string candidates;
    int matches = 0;
    for (const option& o : longOptions()) {
        if (!o.name || name.empty() || std::string_view(o.name).substr(0, name.size()) != name)
            continue;
        candidates += (matches++ ? " or --" : "--") + std::string(o.name);
    }
    std::string shown = "--" + std::string(name);
    if (matches > 1) return "option '" + shown + "' is ambiguous: " + candidates;
    return "unknown option '" + shown + "'";
}

}  // namespace

CommandLine parseCommandLine(int argc, char* argv[]) {
    CommandLine result;
    // 0 rather than 1 makes glibc forget any earlier scan, so the parser can
    // run more than once in a process; opterr off because the messages are ours.
    optind = 0;
    opterr = 0;
    int code = 0;
    while ((code = getopt_long(argc, argv, ":", longOptions().data(), nullptr)) != -1) {
        if (code >= firstCode) {
            if (auto problem = takeOption(rowOf(code), optarg, result))
                return refused(std::move(*problem));
            // --help and --version act where they stand.
            if (result.action != CommandLineAction::play) return result;
            continue;
        }
        switch (code) {
            case ':':
                // The BSD getopt_long of other C libraries (Windows') also
                // answers ':' for a value given to an option that takes none.
                if (!takesValue(optopt))
                    return refused("option '--" + nameOf(optopt) + "' takes no value");
                return refused("option '--" + nameOf(optopt) + "' needs a value");
            default:
                if (optopt >= firstCode)
                    return refused("option '--" + nameOf(optopt) + "' takes no value");
                if (optopt != 0)
                    return refused("unknown option '-" + std::string(1, static_cast<char>(optopt)) +
                                   "'");
                return refused(unknownLongOption(argv[optind - 1]));
        }
    }
    if (optind < argc) return refused("unexpected argument '" + std::string(argv[optind]) + "'");
    if (!result.options.recordFile.empty() && !result.options.replayFile.empty())
        return refused("--record and --replay cannot be used together");
    return result;
}

// Where the settings live and what the environment changes differ between
// the systems; everything else the help says is the same.
#ifdef _WIN32
constexpr const char* settingsPlace = "%APPDATA%\\Kordavan\\kordavan.conf";
constexpr const char* environmentText = "";
#else
constexpr const char* settingsPlace =
    "$XDG_CONFIG_HOME/kordavan/kordavan.conf, by default\n~/.config/kordavan/kordavan.conf";
constexpr const char* environmentText =
    "Environment: SDL_VIDEODRIVER and SDL_AUDIODRIVER choose SDL's video and audio\n"
    "drivers; XDG_CONFIG_HOME moves the settings file.\n"
    "\n";
#endif

namespace {

// The options' lines may fill all 80 columns.
constexpr size_t helpWidth = 80;

std::string optionsHelp() {
    size_t width = 0;
    for (const SettingRow& row : settingsTable()) {
        if (row.place & commandLine) width = std::max(width, optionWords(row).size() + 2);
    }
    std::string out;
    for (const SettingRow& row : settingsTable()) {
        if (!(row.place & commandLine)) continue;
        std::string line = "      " + optionWords(row);
        line.resize(6 + width, ' ');
        out += filledLines(helpWidth, line, optionHelp(row), 6 + width + 2);
    }
    return out;
}

// The file's keys, then the lines of the keys and pads, named by their controls.
std::string settingsFileHelp() {
    std::string keys;
    for (const SettingRow& row : settingsTable()) {
        if (row.place & settingsFile) keys += (keys.empty() ? "" : ", ") + fileForm(row);
    }
    std::string controls;
    for (std::string_view name : controlNames())
        controls += (controls.empty() ? "" : ", ") + std::string(name);
    return filledLines(helpWidth, "  ", keys + ";", 2) +
           filledLines(helpWidth, "  ",
                       "key-CONTROL = KEY, ... and pad-CONTROL = BUTTON, ... set the keys and pad "
                       "buttons of a control (key-left = Left, A; pad-land = A, RB): " +
                           controls + ".",
                       2);
}

}  // namespace

std::string optionWords(const SettingRow& row) {
    // Appended piece by piece: GCC 12 sees a false overlap in "--" + name.
    std::string words("--");
    words.append(row.name);
    if (!row.argument.empty()) words.append(" ").append(row.argument);
    return words;
}

std::string optionHelp(const SettingRow& row) {
    std::string text(row.help);
    if (row.kind == SettingKind::pick && row.byDefault == findSetting(row.words)->byDefault)
        text += " (the default)";
    if (row.kind == SettingKind::number) {
        text += ", " + std::string(row.argument) + " from " + std::to_string(row.low) + " to " +
                std::to_string(row.high) + " (default: " +
                (row.defaultText.empty() ? std::to_string(row.byDefault)
                                         : std::string(row.defaultText)) +
                ")";
    }
    return text;
}

std::string helpText() {
    return "Usage: kordavan [OPTION]...\n"
           "Fly a rescue helicopter through the night and bring seven men home.\n"
           "\n"
           "Options:\n" +
           optionsHelp() + "\n" + controlsHelp() +
           "\n"
           "Settings: " +
           settingsPlace + ", one 'key = value' a line:\n" + settingsFileHelp() +
           "The options above override it.\n"
           "\n" +
           environmentText +
           "Exit status: 0 after a normal end, 1 when the game cannot start,\n"
           "2 for a bad command line.\n";
}

std::string versionText() {
    return std::string("kordavan ") + kordavanVersion + "\n";
}

namespace {

// As GNU programs do: output that could not be written (a full disk, a
// closed stream) is a failure, not a silent success.
int printed(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return 0;
    std::fprintf(stderr, "kordavan: write error: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace

int reportCommandLine(const CommandLine& commandLine) {
    switch (commandLine.action) {
        case CommandLineAction::showHelp:
            return printed(helpText());
        case CommandLineAction::showVersion:
            return printed(versionText());
        case CommandLineAction::refuse:
            std::fprintf(stderr, "kordavan: %s\nTry 'kordavan --help'.\n",
                         commandLine.problem.c_str());
            return 2;
        case CommandLineAction::play:
            break;
    }
    return 0;
}
