// Kordavan in a browser: the same start-up, loop and teardown as on the
// desktop, but the browser owns the loop and asks for one frame at a time,
// and the page can start the program again after it ended. As on the
// desktop the player's settings and keys are read at start-up (the page
// keeps them in the browser), the screenshot control takes a picture, "record
// my games" records them, and a replay dropped on the page is watched from
// the title.

#include "app/main_loop.h"
#include "app/player_run.h"
#include "app/settings_overlay.h"
#include "app/title_and_replays.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/warnings.h"
#include "platform/web_backend.h"
#include "shell/preferences.h"

namespace {

// Every game in the page starts as the first one did when the page loaded:
// the game's record and its dice as a new program has them. The settings
// file and its keys are read as the desktop reads them at start-up; the
// page reads them again for every program it starts, and the games of a run
// go into one recording, which the page offers for download once it ends.
bool freshStart() {
    game = GameState{};
    randomState = 1;
    const SettingsFile settings = readSettingsFile(settingsPath(), platform::warnings());
    setUpRun(Options{}, settings);
    usePreferences(Options{}, settings);
    if (!startProgram(platform::gameModule(), 1)) return false;
    // The settings screen is drawn in the picture as on the desktop.
    beginRun(&settingsOverlay(), {});
    return true;
}

bool browserFrame() {
    if (!titleOrReplayFrame()) {
        endProgram();
        // The recording gets its last line and is offered.
        finishRun();
        return false;
    }
    // While the settings screen is open a tap on the title picture is a
    // press on the screen, not the start control.
    platform::offerStartControl(loopPhase() != LoopPhase::Game && !screenOpen());
    platform::restBeforeNextFrame(microsecondsUntilFrame());
    return true;
}

}  // namespace

int main() {
    platform::useWebBackend();
    platform::runBrowserGame(freshStart, browserFrame);
    return 0;
}
