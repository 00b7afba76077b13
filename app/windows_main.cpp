// Kordavan for Windows: the same entry as on Linux with the Windows back end.
// The program belongs to the GUI subsystem, so no console window opens with
// it; --help and --version print to the console it was started from, or
// show a message box when it was started from Explorer.

#include <string>

#include "app/main_loop.h"
#include "app/options.h"
#include "app/preferences.h"
#include "platform/files.h"
#include "platform/windows_backend.h"

namespace {

// The words reportCommandLine would print, for a box.
std::string textFor(const CommandLine& commandLine) {
    switch (commandLine.action) {
        case CommandLineAction::showHelp:
            return helpText();
        case CommandLineAction::showVersion:
            return versionText();
        case CommandLineAction::refuse:
            return "kordavan: " + commandLine.problem + "\nTry 'kordavan --help'.\n";
        case CommandLineAction::play:
            break;
    }
    return {};
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool console = platform::useParentConsole();
    const CommandLine commandLine = parseCommandLine(argc, argv);
    platform::useWindowsBackend();
    if (commandLine.action != CommandLineAction::play) {
        const int exitCode = reportCommandLine(commandLine);
        if (!console) platform::messageBox(textFor(commandLine).c_str(), "Kordavan");
        return exitCode;
    }
    platform::guardStandardStreams();
    usePreferences(commandLine.options);
    // F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
    setLoopObserver({.afterFrame = rememberDisplayChoice});
    const int exitCode = winMain(platform::gameModule(), 1);
    platform::finish();
    return exitCode;
}
