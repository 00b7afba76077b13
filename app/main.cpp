// Kordavan: a night-time helicopter rescue game. The same entry on Linux
// (the SDL back end) and Windows (the Windows back end, a program of the GUI
// subsystem: --help and --version print to the console it was started from,
// or show a message box when it was started from Explorer, and so do the
// warnings, kept for one box at the end).

#include <iostream>

#include "app/extras.h"
#include "app/main_loop.h"
#include "platform/files.h"
#include "platform/warnings.h"
#include "shell/options.h"
#include "shell/preferences.h"
#include "shell/settings_file.h"
#ifdef _WIN32
#include <filesystem>
#include <string>
#include <vector>

#include "platform/windows_backend.h"
#else
#include "platform/sdl_backend.h"
#endif

#ifdef _WIN32
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

// The words reportCommandLine would print, for a box.
std::string textFor(const CommandLine& commandLine) {
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

// Shows what was kept for a player without a console, however main ends.
struct WarningsAtExit {
    ~WarningsAtExit() { platform::showWarnings(warningAdvice); }
};

}  // namespace
#endif

int main(int argc, char* argv[]) {
#ifdef _WIN32
    const bool console = platform::useParentConsole();
    // main's own arguments come in the ANSI code page, which may lack the
    // letters of a path the player gave.
    std::vector<std::string> words = platform::commandLineWords();
    std::vector<char*> wordStarts;
    for (std::string& word : words) wordStarts.push_back(word.data());
    wordStarts.push_back(nullptr);
    if (!words.empty()) {
        argc = static_cast<int>(words.size());
        argv = wordStarts.data();
    }
    const std::filesystem::path folder = platform::settingsFolder();
    if (!console) platform::collectWarnings(folder.empty() ? folder : folder / "kordavan.log");
    const WarningsAtExit warningsAtExit;
#endif
    const CommandLine commandLine = parseCommandLine(argc, argv);
#ifdef _WIN32
    platform::useWindowsBackend();
    if (commandLine.action != CommandLineAction::play && !console) {
        platform::messageBox(textFor(commandLine).c_str(), "Kordavan");
        // The box was the answer: nothing remains to be printed.
        if (commandLine.action != CommandLineAction::refuse) return 0;
    }
#endif
    // The help and the version report a closed output instead of writing to
    // a stand-in.
    if (commandLine.action != CommandLineAction::play) return reportCommandLine(commandLine);
    platform::guardStandardStreams();
    const SettingsFile settings = readSettingsFile(settingsPath(), platform::warnings());
    if (!setUpExtras(commandLine.options, settings)) return 2;
#ifndef _WIN32
    platform::useSdlBackend();
#endif
    setPauseOnFocusLoss(usePreferences(commandLine.options, settings).pauseOnFocusLoss);
    // F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
    setLoopObserver({extrasBeforeStep, extrasAfterStep, rememberDisplayChoice});
    const int exitCode = winMain(platform::gameModule(), 1);
    finishExtras();
    platform::finish();
    return exitCode;
}
