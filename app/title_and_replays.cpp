// The title and the replays watched from it, one loop after another.

#include "app/title_and_replays.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/main_loop.h"
#include "game/game_state.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/printable.h"
#include "platform/warnings.h"
#include "replay/player.h"
#include "shell/replay_choice.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

// The player's hands on the title. A file dropped onto the window becomes
// the replay chosen; a chosen replay that reads ends the title's loop for
// it, one that does not is named in a warning and the title goes on. After
// a replay, the Escape or Return that stopped it counts on the title only
// once it is up again.
class TitleHands : public ControlSource {
  public:
    ControlSource* hands = nullptr;
    std::optional<Replay> replay;
    bool holding = false;

    Controls poll(LoopPhase phase, bool paused) override {
        Controls held = hands->poll(phase, paused);
        // Once Space has begun the briefing, the game the player started
        // goes first: a replay dropped now waits for the title.
        if (titleWaiting() && !replay) takeChoice();
        if (holding) holding = held.quit || held.start || held.confirm;
        if (holding) held.quit = held.start = held.confirm = false;
        return held;
    }
    bool done() const override { return replay.has_value(); }
    const DeviceInput* readDevices() override { return hands->readDevices(); }

  private:
    void takeChoice() {
        // Several files dropped at once: the last one is watched.
        for (std::string dropped; platform::takeDroppedFile(dropped);) {
            chooseReplay(platform::utf8Path(dropped));
        }
        const std::optional<std::filesystem::path> file = takeChosenReplay();
        if (!file) return;
        const std::string path = platform::utf8Text(*file);
        const std::string name = shownName(path);
        Replay read;
        std::string error;
        switch (readReplay(path, read, error)) {
            case ReplayRead::read:
                if (!read.cut.empty())
                    platform::warnings() << "kordavan: " << name << ": " << read.cut << "\n";
                replay = std::move(read);
                return;
            case ReplayRead::cannotRead:
                platform::warnings()
                    << "kordavan: " << name << ": cannot be read: " << error << "\n";
                return;
            case ReplayRead::notAReplay:
                platform::warnings() << "kordavan: " << name << ": " << error << "\n";
                return;
        }
    }
};

// The player's hands under a replay: whether Escape was held, which tells a
// replay the player stopped from a window closed under it.
class WatchingHands : public ControlSource {
  public:
    ControlSource* hands = nullptr;
    bool quitHeld = false;

    Controls poll(LoopPhase phase, bool paused) override {
        const Controls held = hands->poll(phase, paused);
        quitHeld = held.quit;
        return held;
    }
    const DeviceInput* readDevices() override { return hands->readDevices(); }
};

struct Show {
    TitleHands titleHands;
    WatchingHands watchingHands;
    std::vector<LoopListener*> titleListeners;
    std::vector<LoopListener*> replayListeners;
    std::vector<LoopListener*> openingListeners;
    OverlayScreen* screen = nullptr;
    std::unique_ptr<ReplayPlayer> player;  // while a replay is on
    bool opening = false;                  // the replay on is the one asked for at start
};

Show show;

// After a replay's last game in the window: says where it went otherwise
// than recorded, if it did, and leaves the game as the title expects it.
void replayOver(const ReplayPlayer& player) {
    if (const auto& divergence = player.divergence()) {
        platform::warnings() << "kordavan: the replay went otherwise than recorded at step "
                             << divergence->step << ": " << divergence->what
                             << "; the replay stops there\n";
    }
    // The title comes back as after a dismissed picture, whatever state the
    // replay's last game was left in.
    stopLooping(sndRotorLoop);
    resetGame();
}

bool titleAgain() {
    show.player.reset();
    // The Escape or Return that stopped a replay watched from the title is
    // still down; after the one asked for at start, nothing of the title's
    // was pressed yet.
    show.titleHands.holding = !show.opening;
    show.opening = false;
    beginLoop(LoopStart::title().withScreen(show.screen), show.titleHands, show.titleListeners);
    return true;
}

// Each game of a replay is a loop of its own, from its recorded moment.
bool nextReplayGame() {
    if (const auto start = show.player->nextGame()) {
        beginLoop(LoopStart::game(*start).withScreen(show.screen), *show.player,
                  show.opening ? show.openingListeners : show.replayListeners);
        return true;
    }
    replayOver(*show.player);
    return titleAgain();
}

bool watch(Replay replay, bool opening) {
    show.player = std::make_unique<ReplayPlayer>(std::move(replay), &show.watchingHands);
    show.opening = opening;
    return nextReplayGame();
}

}  // namespace

void beginShow(TitleShow cast) {
    show.titleHands.hands = cast.hands;
    show.titleHands.replay.reset();
    show.titleHands.holding = false;
    show.watchingHands.hands = cast.hands;
    show.titleListeners = std::move(cast.titleListeners);
    show.replayListeners = std::move(cast.replayListeners);
    show.openingListeners = std::move(cast.openingListeners);
    show.screen = cast.screen;
    show.player.reset();
    show.opening = false;
    if (cast.opening) {
        watch(std::move(*cast.opening), true);
        return;
    }
    beginLoop(LoopStart::title().withScreen(show.screen), show.titleHands, show.titleListeners);
}

bool titleOrReplayFrame() {
    if (runFrame()) return true;
    if (show.player == nullptr) {
        if (loopEnd() != LoopEnd::sourceDone || !show.titleHands.replay) return false;
        Replay chosen = std::move(*show.titleHands.replay);
        show.titleHands.replay.reset();
        return watch(std::move(chosen), false);
    }
    // The replay asked for at start is the program's show: the player's
    // Escape in it, or a closed window, ends the program.
    if (show.opening && (loopEnd() == LoopEnd::quit || show.player->quitByPlayer())) return false;
    if (loopEnd() == LoopEnd::quit && !show.watchingHands.quitHeld) return false;
    if (loopEnd() == LoopEnd::quit || show.player->quitByPlayer()) {
        replayOver(*show.player);
        return titleAgain();
    }
    return nextReplayGame();
}
