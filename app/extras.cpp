// The extras around the desktop loop.

#include "app/extras.h"

#include <iostream>
#include <memory>
#include <utility>
#include <vector>

#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/record_games.h"
#include "app/settings_overlay.h"
#include "app/title_and_replays.h"
#include "platform/warnings.h"
#include "replay/player.h"
#include "replay/recorder.h"
#include "shell/key_bindings.h"
#include "shell/preferences.h"

namespace {

// F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
class DisplayChoiceSaver : public LoopListener {
  public:
    void heard(const LoopEvent& event) override {
        if (event.kind == LoopEventKind::frameEnded) rememberDisplayChoice();
    }
};

DisplayChoiceSaver displayChoiceSaver;
RecordingListener recorder;
GamesRecorder gamesRecorder;
bool recordFileGiven = false;
std::unique_ptr<ReplayPlayer> player;

// A replay in the window is a film: the player's Escape and Pause still
// work, the screenshot key too, everything else is the recording's. True
// when the player quit during it.
bool playReplay(const std::vector<LoopListener*>& listeners) {
    while (const auto start = player->nextGame()) {
        const LoopEnd end = runLoop(LoopStart::game(*start), *player, listeners);
        if (end == LoopEnd::quit || player->quitByPlayer()) return true;
    }
    replayOver(*player);
    return false;
}

}  // namespace

bool setUpExtras(const Options& options, const SettingsFile& settings) {
    useKeyBindings(parseKeyBindings(settings.text, settings.path.string(), platform::warnings()));
    recordFileGiven = !options.recordFile.empty();
    gamesRecorder = GamesRecorder{};
    if (recordFileGiven) {
        std::string error;
        if (!startRecording(options.recordFile, error)) {
            platform::warnings() << "kordavan: " << error << "\n";
            return false;
        }
    }
    if (!options.replayFile.empty()) {
        Replay replay;
        std::string error;
        switch (readReplay(options.replayFile, replay, error)) {
            case ReplayRead::read:
                break;
            case ReplayRead::cannotRead:
                platform::warnings()
                    << "kordavan: " << options.replayFile << ": cannot be read: " << error << "\n";
                return false;
            case ReplayRead::notAReplay:
                platform::warnings() << "kordavan: " << options.replayFile << ": " << error << "\n";
                return false;
        }
        if (!replay.cut.empty()) {
            platform::warnings() << "kordavan: " << options.replayFile << ": " << replay.cut
                                 << "\n";
        }
        player = std::make_unique<ReplayPlayer>(std::move(replay), &playerHands());
    }
    return true;
}

int runDesktopGame(const platform::Module* instance, int showCommand) {
    // A start-up that failed is told to whatever started the game, not only
    // to the player.
    if (!startProgram(instance, showCommand)) return 1;
    setOverlayScreen(&settingsOverlay());
    const std::vector<LoopListener*> listeners{&recorder, &displayChoiceSaver};
    if (player != nullptr && playReplay(listeners)) return endProgram();
    // The player's own games go into --record's file, or else into the
    // recordings folder while "record my games" is on; a replay watched from
    // the title is no game of theirs.
    LoopListener* ownGames =
        recordFileGiven ? static_cast<LoopListener*>(&recorder) : &gamesRecorder;
    beginTitle(playerHands(), {ownGames, &displayChoiceSaver}, {&displayChoiceSaver});
    while (titleOrReplayFrame()) waitForNextFrame();
    return endProgram();
}

void finishExtras() {
    stopRecording();
    player.reset();
}
