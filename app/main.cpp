// Kordavan: a night-time helicopter rescue game.

#include <iostream>

#include "app/extras.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/preferences.h"
#include "app/settings_file.h"
#include "platform/files.h"
#include "platform/sdl_backend.h"

int main(int argc, char* argv[]) {
    const CommandLine commandLine = parseCommandLine(argc, argv);
    // The help and the version report a closed output instead of writing to
    // a stand-in.
    if (commandLine.action != CommandLineAction::play) return reportCommandLine(commandLine);
    platform::guardStandardStreams();
    const SettingsFile settings = readSettingsFile(settingsPath(), std::cerr);
    if (!setUpExtras(commandLine.options, settings)) return 2;
    platform::useSdlBackend();
    usePreferences(commandLine.options, settings);
    // F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
    setLoopObserver({extrasBeforeStep, extrasAfterStep, rememberDisplayChoice});
    const int exitCode = winMain(platform::gameModule(), 1);
    finishExtras();
    platform::finish();
    return exitCode;
}
