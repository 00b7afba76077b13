// The player of replays. A game is fixed by its state and the generator's at
// its first step and by the controls of every step; the picture passes count
// only for when Return came.

#include "replay/player.h"

#include <algorithm>
#include <utility>

#include "game/game_state.h"
#include "game/random.h"
#include "platform/files.h"

namespace {

// An end picture the replay did not record (it went otherwise) is dismissed
// after two seconds.
constexpr int64_t unrecordedPasses = 120;

GameMoment now() {
    return GameMoment{game, randomState};
}

}  // namespace

ReplayRead readReplay(const std::string& path, Replay& replay, std::string& error) {
    // A pipe or a device is refused unopened, and the text takes no more
    // memory than the file.
    const platform::FileText file = platform::readFile(platform::utf8Path(path), largestReplay);
    if (file.status != platform::FileStatus::read) {
        error = file.reason.empty() ? "there is no such file" : file.reason;
        return ReplayRead::cannotRead;
    }
    return parseReplay(file.text, replay, error) ? ReplayRead::read : ReplayRead::notAReplay;
}

ReplayPlayer::ReplayPlayer(Replay replay, ControlSource* hands)
    : replay(std::move(replay)), hands(hands) {}

std::optional<GameMoment> ReplayPlayer::nextGame() {
    if (taken) ++game;
    if (diverged || playerQuit || game >= replay.games.size()) return std::nullopt;
    taken = true;
    over = false;
    line = 0;
    stepsInGame = 0;
    passes = 0;
    return current().start;
}

bool ReplayPlayer::done() const {
    return over || diverged || playerQuit || !taken;
}

void ReplayPlayer::diverge(const std::string& what) {
    if (!diverged) diverged = ReplayDivergence{step, what};
}

void ReplayPlayer::check(const GameEnd& actual) {
    const ReplayGame& recorded = current();
    if (!recorded.end) {
        // A recording cut off ends with its last step, where play stops.
        // A game that ends right there (its ESCAPE was the last line the
        // disk took) went as recorded: only its end line was lost.
        const size_t left = recorded.steps.size() - std::min(line, recorded.steps.size());
        if (left == 0) return;
        diverge(std::string("the game ended ") + endingName(actual.ending) +
                ", but the replay recorded " + std::to_string(left) + " more step" +
                (left == 1 ? "" : "s") + " of it");
        return;
    }
    if (const auto difference = firstDifference(*recorded.end, actual)) diverge(*difference);
}

Controls ReplayPlayer::replayedStep(const Controls& held) {
    const ReplayGame& recorded = current();
    if (line >= recorded.steps.size()) {
        diverge(recorded.end ? std::string("the game goes on, but the replay recorded it ") +
                                   endingName(recorded.end->ending) + " at this step"
                             : "the game goes on past the replay's last step");
        return held;
    }
    Controls replayed = recorded.steps[line];
    if (hands != nullptr) {
        replayed.quit = held.quit;
        replayed.pause = held.pause;
        replayed.screenshot = held.screenshot;
    }
    return replayed;
}

Controls ReplayPlayer::replayedPicturePass(const Controls& held) {
    const ReplayGame& recorded = current();
    ++passes;
    const bool recordedPicture = recorded.end && recorded.end->passes > 0;
    Controls replayed;
    replayed.confirm = passes >= (recordedPicture ? recorded.end->passes : unrecordedPasses);
    if (hands != nullptr) {
        // However many passes the file asks for, the player's Return and
        // Escape are heard on the picture.
        replayed.confirm = replayed.confirm || held.confirm;
        replayed.screenshot = held.screenshot;
        if (held.quit) playerQuit = true;
    }
    return replayed;
}

Controls ReplayPlayer::poll(LoopPhase phase, bool paused) {
    const Controls held = hands != nullptr ? hands->poll(phase, paused) : Controls{};
    // While paused only the player's Escape and Pause count, as in play.
    if (done() || paused) return held;
    switch (phase) {
        case LoopPhase::Game:
            return replayedStep(held);
        case LoopPhase::WinPicture:
        case LoopPhase::FailurePicture:
            return replayedPicturePass(held);
        case LoopPhase::Title:
            break;
    }
    return held;
}

const DeviceInput* ReplayPlayer::readDevices() {
    return hands != nullptr ? hands->readDevices() : nullptr;
}

void ReplayPlayer::heard(const LoopEvent& event) {
    if (!taken || over) return;
    switch (event.kind) {
        case LoopEventKind::stepBegins:
            ++step;
            ++stepsInGame;
            break;
        case LoopEventKind::stepRan: {
            if (line >= current().steps.size()) break;
            const bool quit = current().steps[line].quit;
            ++line;
            if (quit) {
                check(GameEnd{GameEnding::quit, stepsInGame, 0, now()});
                over = true;
            } else if (line == current().steps.size() && !current().end) {
                // Cut off here: the recording was killed.
                over = true;
            }
            break;
        }
        case LoopEventKind::endPictureShown:
            check(GameEnd{event.won ? GameEnding::won : GameEnding::lost, stepsInGame, 0, now()});
            break;
        case LoopEventKind::endPictureDismissed:
            over = true;
            break;
        default:
            break;
    }
}
