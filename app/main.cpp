// Kordavan: a night-time helicopter rescue game.

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/key_bindings.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/preferences.h"
#include "app/replay.h"
#include "app/screenshot.h"
#include "platform/files.h"
#include "platform/sdl_backend.h"

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
    if (screenshot && !screenshotHeld) saveScreenshot();
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

}  // namespace

int main(int argc, char* argv[]) {
    const CommandLine commandLine = parseCommandLine(argc, argv);
    // The help and the version report a closed output instead of writing to
    // a stand-in.
    if (commandLine.action != CommandLineAction::play) return reportCommandLine(commandLine);
    platform::guardStandardStreams();
    if (!setUpExtras(commandLine.options)) return 2;
    platform::useSdlBackend();
    usePreferences(commandLine.options);
    // F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
    setLoopObserver({beforeStep, afterStep, rememberDisplayChoice});
    const int exitCode = winMain(platform::gameModule(), 1);
    stopRecording();
    platform::finish();
    return exitCode;
}
