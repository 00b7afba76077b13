// Kordavan in a browser: the same start-up, loop and teardown as on the
// desktop, but the browser owns the loop and asks for one frame at a time,
// and the page can start the program again after it ended. As on the
// desktop the player's settings and keys are read at start-up (the page
// keeps them in the browser), the screenshot control takes a picture, "record
// my games" records them, and a replay dropped on the page is watched from
// the title.

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/keyboard.h"
#include "app/main_loop.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/files.h"
#include "platform/warnings.h"
#include "platform/web_backend.h"
#include "replay/player.h"
#include "replay/recorder.h"
#include "shell/key_bindings.h"
#include "shell/preferences.h"
#include "shell/recordings.h"
#include "shell/replay_choice.h"
#include "shell/screenshot.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

// The player's keyboard, pads and touch controls, with the screenshot
// control acting as it goes down, whatever the loop does with the rest.
class PageHands : public ControlSource {
  public:
    Controls poll(LoopPhase phase, bool paused) override {
        const Controls held = deviceControls().poll(phase, paused);
        if (held.screenshot && !screenshotHeld) saveScreenshot();
        screenshotHeld = held.screenshot;
        return held;
    }

  private:
    bool screenshotHeld = false;
};

PageHands hands;
RecordingListener recorder;

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
void useSettings() {
    const SettingsFile settings = readSettingsFile(settingsPath(), platform::warnings());
    useKeyBindings(parseKeyBindings(settings.text, settings.path.string(), platform::warnings()));
    setPauseOnFocusLoss(usePreferences(Options{}, settings).pauseOnFocusLoss);
}

// "Record my games": the program's games go into one recording, which the
// page offers for download once the program ends.
void startRecordingGames() {
    if (!currentSettings().recordGames) return;
    const std::time_t now = std::time(nullptr);
    std::string error;
    for (int number = 1; number < 100; ++number) {
        const std::filesystem::path file = recordingsFolder() / recordingName(now, number);
        if (startRecording(file.string(), error)) return;
    }
    platform::tellOnPage("Your games are not recorded: " + error);
}

// ---------------------------------------------------------------- replays
// A replay dropped on the page (or picked) is watched once the title is on
// show: each of its games runs as a loop of its own with the replay as the
// source, the player's Escape and Pause still working, and the title comes
// back after the last, as it does on the desktop.

std::unique_ptr<ReplayPlayer> player;

void backToTitle() {
    player.reset();
    // The title comes back as after a dismissed picture, whatever state the
    // replay's last game was left in.
    stopLooping(sndRotorLoop);
    resetGame();
    beginLoop(LoopStart::title(), hands, {&recorder});
}

void nextReplayGame() {
    if (const auto start = player->nextGame()) {
        beginLoop(LoopStart::game(*start), *player);
        return;
    }
    if (const auto& divergence = player->divergence()) {
        platform::tellOnPage("The replay went otherwise than recorded at step " +
                             std::to_string(divergence->step) + " (" + divergence->what +
                             "); it stops there.");
    }
    backToTitle();
}

void watchChosenReplay() {
    std::string dropped;
    while (platform::takeDroppedFile(dropped)) chooseReplay(platform::utf8Path(dropped));
    if (player != nullptr || loopPhase() != LoopPhase::Title || settingsScreen.isShown() ||
        !replayChosen()) {
        return;
    }
    const std::filesystem::path file = *takeChosenReplay();
    const std::u8string name = file.filename().u8string();
    const std::string shown(name.begin(), name.end());
    Replay replay;
    std::string error;
    if (readReplay(file.string(), replay, error) != ReplayRead::read) {
        platform::tellOnPage(shown + " cannot be watched: " + error);
        return;
    }
    if (!replay.cut.empty()) platform::tellOnPage(shown + ": " + replay.cut);
    player = std::make_unique<ReplayPlayer>(std::move(replay), &hands);
    nextReplayGame();
}

// A replay's loop ended: on to its next game, unless the player quit.
bool replayGoesOn() {
    if (player == nullptr || loopEnd() == LoopEnd::quit || player->quitByPlayer()) return false;
    nextReplayGame();
    return true;
}

// ---------------------------------------------------------------- the page

// Every game in the page starts as the first one did when the page loaded:
// the game's record and its dice as a new program has them.
bool freshStart() {
    game = GameState{};
    randomState = 1;
    useSettings();
    if (!startProgram(platform::gameModule(), 1)) return false;
    startRecordingGames();
    beginLoop(LoopStart::title(), hands, {&recorder});
    return true;
}

bool browserFrame() {
    watchChosenReplay();
    if (!runFrame() && !replayGoesOn()) {
        endProgram();
        // The recording gets its last line and is offered.
        stopRecording();
        player.reset();
        return false;
    }
    platform::offerStartControl(loopPhase() != LoopPhase::Game && !settingsScreen.isShown());
    return true;
}

}  // namespace

int main() {
    platform::useWebBackend();
    platform::runBrowserGame(freshStart, browserFrame);
    return 0;
}
