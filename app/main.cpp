// Kordavan: a night-time helicopter rescue game. The same entry on Linux
// (the SDL back end) and Windows (the Windows back end, a program of the GUI
// subsystem: --help and --version print to the console it was started from,
// or show a message box when it was started from Explorer).

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/key_bindings.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/preferences.h"
#include "app/replay.h"
#include "platform/files.h"
#ifdef _WIN32
#include "platform/windows_backend.h"
#else
#include "app/screenshot.h"
#include "platform/sdl_backend.h"
#endif

namespace {

// Far more than hours of play; a larger file is no replay.
constexpr std::streamsize largestReplay = 256 << 20;

bool screenshotHeld = false;

// A replay in the window is a film: the player's Escape and Pause still
// work, the screenshot key too, everything else is the recording's.
void onPoll(Controls& controls) {
    const bool screenshot = controls.screenshot;
    playPoll(controls);
    recordPoll(controls);
#ifndef _WIN32
    if (screenshot && !screenshotHeld) saveScreenshot();
#endif
    screenshotHeld = screenshot;
}

void beforeStep() {
    recordBeforeStep();
    playBeforeStep();
}

void afterStep(int result) {
    recordAfterStep(result);
    playAfterStep(result);
}

void replayDiverged(int64_t step, const std::string& what) {
    std::cerr << "Kordavan: the replay went otherwise than recorded at step " << step << ": "
              << what << "; the replay stops there\n";
    jumpToTitle();
}

bool readReplay(const std::string& path, Replay& replay) {
    std::ifstream file(path, std::ios::binary);
    std::string text(static_cast<size_t>(largestReplay) + 1, '\0');
    std::string error;
    if (!file) {
        error = "cannot be read";
    } else {
        file.read(text.data(), largestReplay + 1);
        if (file.bad()) error = "cannot be read";
        if (file.gcount() > largestReplay) error = "is too large for a replay";
        text.resize(static_cast<size_t>(file.gcount()));
    }
    if (error.empty() && parseReplay(text, replay, error)) return true;
    std::cerr << "kordavan: " << path << ": " << error << "\n";
    return false;
}

// The extras around the loop: bindings, screenshots, recording, replaying.
// False, with the reason on standard error, when the game must not start.
bool setUpExtras(const Options& options) {
    const std::filesystem::path settings = settingsPath();
    if (!settings.empty()) useKeyBindings(readKeyBindings(settings, std::cerr));
    if (!options.recordFile.empty()) {
        std::string error;
        if (!startRecording(options.recordFile, error)) {
            std::cerr << "kordavan: " << error << "\n";
            return false;
        }
    }
    if (!options.replayFile.empty()) {
        Replay replay;
        if (!readReplay(options.replayFile, replay)) return false;
        startPlaying(std::move(replay), {replayDiverged, jumpToTitle}, true);
        jumpToGame();
    }
    setPollHook(onPoll);
    return true;
}

#ifdef _WIN32
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
#endif

}  // namespace

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
    if (!setUpExtras(commandLine.options)) return 2;
#ifndef _WIN32
    platform::useSdlBackend();
#endif
    usePreferences(commandLine.options);
    // F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
    setLoopObserver({beforeStep, afterStep, rememberDisplayChoice});
    const int exitCode = winMain(platform::gameModule(), 1);
    stopRecording();
    platform::finish();
    return exitCode;
}
