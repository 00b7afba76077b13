// The extras around the desktop loop.

#include "app/extras.h"

#include <iostream>
#include <utility>

#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/replay.h"
#include "platform/files.h"
#include "shell/key_bindings.h"
#ifndef _WIN32
#include "shell/screenshot.h"
#endif

namespace {

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

void replayDiverged(int64_t step, const std::string& what) {
    std::cerr << "kordavan: the replay went otherwise than recorded at step " << step << ": "
              << what << "; the replay stops there\n";
    jumpToTitle();
}

bool readReplay(const std::string& path, Replay& replay) {
    const platform::FileText file = platform::readFile(path, largestReplay);
    std::string error = "cannot be read: " + file.reason;
    if (file.status == platform::FileStatus::read && parseReplay(file.text, replay, error)) {
        if (!replay.cut.empty()) std::cerr << "kordavan: " << path << ": " << replay.cut << "\n";
        return true;
    }
    std::cerr << "kordavan: " << path << ": " << error << "\n";
    return false;
}

}  // namespace

bool setUpExtras(const Options& options, const SettingsFile& settings) {
    useKeyBindings(parseKeyBindings(settings.text, settings.path.string(), std::cerr));
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

void extrasBeforeStep() {
    recordBeforeStep();
    playBeforeStep();
}

void extrasAfterStep(int result) {
    recordAfterStep(result);
    playAfterStep(result);
}

void finishExtras() {
    stopRecording();
}
