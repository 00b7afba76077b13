// Kordavan: a night-time helicopter rescue game. The same entry on Linux
// (the SDL back end) and Windows (the Windows back end, a program of the GUI
// subsystem: --help and --version print to the console it was started from,
// or show a message box when it was started from Explorer).

#include <iostream>

#include "app/extras.h"
#include "app/main_loop.h"
#include "platform/files.h"
#include "shell/options.h"
#include "shell/preferences.h"
#include "shell/settings_file.h"
#ifdef _WIN32
#include "platform/windows_backend.h"
#else
#include "platform/sdl_backend.h"
#endif

#ifdef _WIN32
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
#endif

int main(int argc, char* argv[]) {
#ifdef _WIN32
    const bool console = platform::useParentConsole();
#endif
    const CommandLine commandLine = parseCommandLine(argc, argv);
#ifdef _WIN32
    platform::useWindowsBackend();
    if (commandLine.action != CommandLineAction::play && !console) {
        platform::messageBox(textFor(commandLine).c_str(), "Kordavan");
    }
#endif
    // The help and the version report a closed output instead of writing to
    // a stand-in.
    if (commandLine.action != CommandLineAction::play) return reportCommandLine(commandLine);
    platform::guardStandardStreams();
    const SettingsFile settings = readSettingsFile(settingsPath(), std::cerr);
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
