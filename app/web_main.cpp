// Kordavan in a browser: the same start-up and loop as on the desktop, but
// the browser owns the loop and asks for one frame at a time, and the page
// can start the program again after it ended.

#include "app/main_loop.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/web_backend.h"

namespace {

// Every game in the page starts as the first one did when the page loaded:
// the game's record and its dice as a new program has them.
bool startProgram() {
    game = GameState{};
    randomState = 1;
    return startMainLoop(platform::gameModule(), 1);
}

bool browserFrame() {
    const bool goOn = runFrame();
    platform::offerStartControl(loopPhase() != LoopPhase::Game);
    return goOn;
}

}  // namespace

int main() {
    platform::useWebBackend();
    platform::runBrowserGame(startProgram, browserFrame);
    return 0;
}
