// Kordavan: a night-time helicopter rescue game.

#include "app/main_loop.h"
#include "app/options.h"
#include "app/preferences.h"
#include "platform/files.h"
#include "platform/sdl_backend.h"

int main(int argc, char* argv[]) {
    const CommandLine commandLine = parseCommandLine(argc, argv);
    // The help and the version report a closed output instead of writing to
    // a stand-in.
    if (commandLine.action != CommandLineAction::play) return reportCommandLine(commandLine);
    platform::guardStandardStreams();
    platform::useSdlBackend();
    usePreferences(commandLine.options);
    // F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
    setLoopObserver({.afterFrame = rememberDisplayChoice});
    const int exitCode = winMain(platform::gameModule(), 1);
    platform::finish();
    return exitCode;
}
