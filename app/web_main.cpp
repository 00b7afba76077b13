// Kordavan in a browser: the same start-up, loop and teardown as on the
// desktop, but the browser owns the loop and asks for one frame at a time,
// and the page can start the program again after it ended.

#include "app/keyboard.h"
#include "app/main_loop.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/web_backend.h"

namespace {

// Every game in the page starts as the first one did when the page loaded:
// the game's record and its dice as a new program has them.
bool freshStart() {
    game = GameState{};
    randomState = 1;
    if (!startProgram(platform::gameModule(), 1)) return false;
    beginLoop(LoopStart::title(), deviceControls());
    return true;
}

bool browserFrame() {
    if (!runFrame()) {
        endProgram();
        return false;
    }
    platform::offerStartControl(loopPhase() != LoopPhase::Game);
    platform::restBeforeNextFrame(microsecondsUntilFrame());
    return true;
}

}  // namespace

int main() {
    platform::useWebBackend();
    platform::runBrowserGame(freshStart, browserFrame);
    return 0;
}
