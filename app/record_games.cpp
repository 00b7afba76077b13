// Recording the player's games into the recordings folder.

#include "app/record_games.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/files.h"
#include "platform/printable.h"
#include "platform/warnings.h"
#include "shell/recordings.h"

namespace {

bool playersGamesRecorded = false;

// Named by this second; a second run begun in the same second (or a file
// the player named so) makes it " (2)", and so on.
std::filesystem::path freeName(const std::filesystem::path& folder) {
    const std::time_t now = std::time(nullptr);
    for (int number = 1;; ++number) {
        const std::filesystem::path path = folder / platform::utf8Path(recordingName(now, number));
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return path;
    }
}

}  // namespace

void recordPlayersGames(bool on) {
    playersGamesRecorded = on;
}

void GamesRecorder::heard(const LoopEvent& event) {
    if (event.kind == LoopEventKind::stepBegins && betweenGames) gameBegins();
    recorder.heard(event);
    switch (event.kind) {
        case LoopEventKind::stepBegins:
            betweenGames = false;
            break;
        case LoopEventKind::stepRan:
            if (event.controls.quit) betweenGames = true;
            break;
        case LoopEventKind::endPictureDismissed:
            betweenGames = true;
            break;
        default:
            break;
    }
    // The file now holds a game: it counts among the fifty.
    if (pruneDue && recorder.recording()) {
        pruneDue = false;
        std::string reason;
        if (!pruneRecordings(recordingsFolder(), keptRecordingCount, reason, file)) {
            platform::warnings() << "kordavan: cannot remove an old recording: " << reason << "\n";
        }
    }
}

void GamesRecorder::gameBegins() {
    // A recording the recorder ended itself (a full disk) has said why.
    if (ours && !recorder.recording()) {
        ours = false;
        givenUp = true;
    }
    if (!playersGamesRecorded) {
        if (ours) recorder.stop();
        ours = false;
        return;
    }
    if (!ours && !givenUp) start();
}

void GamesRecorder::start() {
    givenUp = true;
    const std::filesystem::path folder = recordingsFolder();
    if (folder.empty()) {
        platform::warnings() << "kordavan: there is no settings folder to keep recordings in; "
                                "the games of this run are not recorded\n";
        return;
    }
    // Looked at before the folder is made, so that nothing is made through
    // another user's link, and after, for a folder they made meanwhile.
    std::string reason = platform::othersOwn(folder);
    if (reason.empty() && platform::makeFolders(folder, reason))
        reason = platform::othersOwn(folder);
    if (!reason.empty()) {
        platform::warnings() << "kordavan: cannot make the recordings folder "
                             << shownName(platform::utf8Text(folder)) << ": " << reason
                             << "; the games of this run are not recorded\n";
        return;
    }
    file = freeName(folder);
    if (!recorder.start(platform::utf8Text(file), reason)) {
        platform::warnings() << "kordavan: " << reason
                             << "; the games of this run are not recorded\n";
        return;
    }
    givenUp = false;
    ours = true;
    pruneDue = true;
}
