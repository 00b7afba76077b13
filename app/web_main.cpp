// Kordavan in a browser: the same start-up, loop and teardown as on the
// desktop, but the browser owns the loop and asks for one frame at a time,
// and the page can start the program again after it ended. As on the
// desktop the player's settings and keys are read at start-up (the page
// keeps them in the browser), the screenshot control takes a picture, "record
// my games" records them, and a replay dropped on the page is watched from
// the title.

#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/record_games.h"
#include "app/run_settings.h"
#include "app/settings_overlay.h"
#include "app/title_and_replays.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/warnings.h"
#include "platform/web_backend.h"
#include "replay/recorder.h"
#include "shell/key_bindings.h"
#include "shell/preferences.h"

namespace {

// "Record my games": the games of a run go into one recording, which the
// page offers for download once the run ends.
GamesRecorder gamesRecorder;

// The settings screen, drawn in the picture as on the desktop. The page
// needs to know when it is open: a tap on the title picture then is a press
// on the screen, not the start control.
class PageSettingsScreen : public OverlayScreen {
  public:
    // The screen the settings control opens (none: the control does nothing).
    void use(OverlayScreen* screen) {
        inner = screen;
        setOverlayScreen(screen == nullptr ? nullptr : this);
    }
    void open(LoopPhase over) override {
        shown = true;
        // Taps on the title before it opened were the start control's.
        platform::PicturePoint stale;
        while (platform::takePointerPress(stale)) {
        }
        inner->open(over);
    }
    bool frame() override {
        shown = inner->frame();
        return shown;
    }
    bool isShown() const { return shown; }

  private:
    OverlayScreen* inner = nullptr;
    bool shown = false;
};

PageSettingsScreen settingsScreen;

// The settings file and its keys, read as the desktop reads them at start-up;
// the page reads them again for every program it starts.
void readPlayerSettings() {
    const SettingsFile settings = readSettingsFile(settingsPath(), platform::warnings());
    useKeyBindings(parseKeyBindings(settings.text, settings.path.string(), platform::warnings()));
    sendSettingsToTheRun();
    usePreferences(Options{}, settings);
}

// Every game in the page starts as the first one did when the page loaded:
// the game's record and its dice as a new program has them.
bool freshStart() {
    game = GameState{};
    randomState = 1;
    readPlayerSettings();
    gamesRecorder = GamesRecorder{};
    if (!startProgram(platform::gameModule(), 1)) return false;
    settingsScreen.use(&settingsOverlay());
    // A replay watched from the title is no game of the player's.
    beginTitle(playerHands(), {&gamesRecorder}, {});
    return true;
}

bool browserFrame() {
    if (!titleOrReplayFrame()) {
        endProgram();
        // The recording gets its last line and is offered.
        stopRecording();
        return false;
    }
    platform::offerStartControl(loopPhase() != LoopPhase::Game && !settingsScreen.isShown());
    platform::restBeforeNextFrame(microsecondsUntilFrame());
    return true;
}

}  // namespace

int main() {
    platform::useWebBackend();
    platform::runBrowserGame(freshStart, browserFrame);
    return 0;
}
