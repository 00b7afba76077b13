// The set-up of a run in the player's hands.

#include "app/player_run.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/keyboard.h"
#include "app/record_games.h"
#include "app/run_settings.h"
#include "app/title_and_replays.h"
#include "platform/printable.h"
#include "platform/warnings.h"
#include "replay/player.h"
#include "replay/recorder.h"
#include "shell/key_bindings.h"
#include "shell/screenshot.h"

namespace {

// The screenshot control saves the frame on screen as it goes down, in the
// title, a game, a replay or on a picture alike. (The settings screen saves
// the frame under it itself.)
class ScreenshotTaker : public LoopListener {
  public:
    void heard(const LoopEvent& event) override {
        if (event.kind != LoopEventKind::frameEnded) return;
        if (event.controls.screenshot && !held) saveScreenshot();
        held = event.controls.screenshot;
    }

  private:
    bool held = false;
};

struct Run {
    ReplayRecorder fileRecorder;  // --record's
    bool recordFileGiven = false;
    std::unique_ptr<GamesRecorder> gamesRecorder;
    std::optional<Replay> opening;  // --replay's
    ScreenshotTaker screenshots;
};

Run run;

// False, with the reason told, when the replay cannot be watched.
bool readOpening(const std::string& path) {
    Replay replay;
    std::string error;
    switch (readReplay(path, replay, error)) {
        case ReplayRead::read:
            break;
        case ReplayRead::cannotRead:
            platform::warnings() << "kordavan: " << shownName(path) << ": cannot be read: " << error
                                 << "\n";
            return false;
        case ReplayRead::notAReplay:
            platform::warnings() << "kordavan: " << shownName(path) << ": " << error << "\n";
            return false;
    }
    if (!replay.cut.empty())
        platform::warnings() << "kordavan: " << shownName(path) << ": " << replay.cut << "\n";
    run.opening = std::move(replay);
    return true;
}

std::vector<LoopListener*> joined(std::vector<LoopListener*> first,
                                  const std::vector<LoopListener*>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

}  // namespace

bool setUpRun(const Options& options, const SettingsFile& settings) {
    sendSettingsToTheRun();
    useKeyBindings(parseKeyBindings(settings.text, settings.path.string(), platform::warnings()));
    run.fileRecorder.stop();
    run.recordFileGiven = !options.recordFile.empty();
    // Every run starts "record my games" afresh: a page starts several.
    run.gamesRecorder = std::make_unique<GamesRecorder>();
    run.opening.reset();
    if (run.recordFileGiven) {
        std::string error;
        if (!run.fileRecorder.start(options.recordFile, error)) {
            platform::warnings() << "kordavan: " << error << "\n";
            return false;
        }
    }
    return options.replayFile.empty() || readOpening(options.replayFile);
}

void beginRun(OverlayScreen* screen, const std::vector<LoopListener*>& listeners) {
    // The player's own games go into --record's file, or else into the
    // recordings folder while "record my games" is on; a replay watched from
    // the title is no game of theirs, but one asked for at start is recorded
    // into --record's file as it plays.
    LoopListener* ownGames = run.recordFileGiven ? static_cast<LoopListener*>(&run.fileRecorder)
                                                 : run.gamesRecorder.get();
    const std::vector<LoopListener*> all = joined({&run.screenshots}, listeners);
    TitleShow cast;
    cast.hands = &deviceControls();
    cast.titleListeners = joined({ownGames}, all);
    cast.replayListeners = all;
    cast.screen = screen;
    cast.opening = std::move(run.opening);
    run.opening.reset();
    cast.openingListeners = joined({&run.fileRecorder}, all);
    beginShow(std::move(cast));
}

void finishRun() {
    run.fileRecorder.stop();
    if (run.gamesRecorder != nullptr) run.gamesRecorder->stop();
}
