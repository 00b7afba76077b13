// The key script read one snapshot per poll, as the keyboard would be.

#include "tools/trace/script_source.h"

#include <utility>

#include "shell/key_bindings.h"

namespace {

// The loading sequence lasts 700 passes; a title still running after more
// passes than that with no keys left waits for Space that will never come.
constexpr int64_t titlePassesWithoutKeys = 702;

}  // namespace

KeyScriptSource::KeyScriptSource(std::vector<platform::headless::Snapshot> script,
                                 std::optional<int64_t> steps)
    : script(std::move(script)), steps(steps) {}

void KeyScriptSource::finish(int exitCode, std::string message) {
    if (finished) return;
    finished = true;
    code = exitCode;
    why = std::move(message);
}

Controls KeyScriptSource::poll(LoopPhase phase, bool) {
    if (next < script.size()) {
        uint8_t keys[256] = {};
        for (const uint8_t code : script[next]) keys[code] = 0x80;
        ++next;
        return boundControls(keys, platform::PadState{});
    }
    // Used up. In a step it is the poll after runGame, and the step's line
    // tells the rest; but an end picture would wait for Return for ever.
    switch (phase) {
        case LoopPhase::WinPicture:
        case LoopPhase::FailurePicture:
            finish(3,
                   "kordavan-trace: an end picture waits for Return, but the key script is "
                   "used up\n");
            break;
        case LoopPhase::Game:
            break;
        case LoopPhase::Title:
            if (!steps) {
                // The input ended during the title: nothing more to trace.
                finish(0);
            } else if (++emptyTitleReads > titlePassesWithoutKeys) {
                finish(3,
                       "kordavan-trace: the title waits for Space, but the key script is used "
                       "up\n");
            }
            break;
    }
    return Controls{};
}

void KeyScriptSource::heard(const LoopEvent& event) {
    if (event.kind == LoopEventKind::stepBegins) {
        ++stepsRun;
    } else if (event.kind == LoopEventKind::endPictureDismissed) {
        finish(0);
    } else if (event.kind == LoopEventKind::stepRan) {
        // Escape ends the loop through the controls; enough steps end it here.
        const bool enough = steps ? stepsRun >= *steps : next >= script.size();
        if (enough) finish(0);
    }
}
