// Any bytes as a replay file: the parser answers without a crash, and what
// it takes for a replay is written back by the recorder's own line writers
// to a text that parses again into the same text. So every value the reader
// accepts is one the writer can write, and nothing the writer writes is
// refused by the reader or taken for a cut recording, but for a last game
// without its end line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "replay/replay_file.h"

namespace {

std::string written(const Replay& replay) {
    std::string text = replayHeaderLine();
    for (const ReplayGame& game : replay.games) {
        text += gameStartLine(game.start);
        for (const Controls& controls : game.steps) text += controlsLine(controls);
        if (game.end) text += gameEndLine(*game.end);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Replay replay;
    std::string error;
    if (!parseReplay(text, replay, error)) {
        if (error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    if (replay.games.empty()) std::abort();
    const std::string once = written(replay);
    Replay again;
    if (!parseReplay(once, again, error)) std::abort();
    // Written whole lines can be cut only where the last game has no end line
    // (a recording cut off as its game went on), and are then told as cut.
    const bool endless = !again.games.empty() && !again.games.back().end;
    if (again.cut.empty() == endless || written(again) != once) std::abort();
    return 0;
}
