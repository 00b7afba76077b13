// The Windows entry's own words: the box that answers --help, --version or a
// bad command line for a player who started the game from Explorer, and the
// advice under the warnings kept for such a player.

#include "app/windows_entry.h"

#include "platform/warnings.h"

namespace {

// What a player who met a warning can do about it without a command prompt.
constexpr const char* warningAdvice =
    "To start the game with an option such as --no-sound, add it after kordavan.exe in a "
    "shortcut's Target, or use the Start menu's \"Kordavan (no sound)\" where the game was "
    "installed. README.txt beside kordavan.exe lists the options.";

// The help as a box: the options, one a line, which fit a small screen; the
// keys, the pad and the settings are in README.txt beside the .exe.
std::string boxHelpText() {
    const std::string help = helpText();
    std::string text;
    size_t at = 0;
    while (at < help.size()) {
        size_t end = help.find('\n', at);
        if (end == std::string::npos) end = help.size();
        std::string line = help.substr(at, end - at);
        at = end + 1;
        if (line.rfind("Keys:", 0) == 0) break;
        // "      --scale N    make the window..." as "--scale N: make the window...",
        // and a continued description joined to its line.
        const size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos) {
            text += '\n';
            continue;
        }
        line.erase(0, start);
        const size_t gap = line.find("  ");
        if (line.rfind("--", 0) == 0 && gap != std::string::npos) {
            line = line.substr(0, gap) + ": " + line.substr(line.find_first_not_of(' ', gap));
        } else if (start > 6 && !text.empty() && text.back() == '\n') {
            text.back() = ' ';
        }
        text += line + '\n';
    }
    return text +
           "The keys, the gamepad and the settings file are in README.txt beside "
           "kordavan.exe.\n";
}

}  // namespace

std::string boxText(const CommandLine& commandLine) {
    switch (commandLine.action) {
        case CommandLineAction::showHelp:
            return boxHelpText();
        case CommandLineAction::showVersion:
            return versionText();
        case CommandLineAction::refuse:
            return "kordavan: " + commandLine.problem + "\nTry 'kordavan --help'.\n";
        case CommandLineAction::play:
            break;
    }
    return {};
}

WarningsAtExit::~WarningsAtExit() {
    platform::showWarnings(warningAdvice);
}
