// kordavan-ending for the page: the page's game started at the very end of a
// lost game (the page's address ends in #lost) or a won one (#won), so that
// the browser test reaches the end pictures in a second rather than a whole
// game, and sees what a tap and a pad's Start do there.

#include <emscripten.h>

#include "app/keyboard.h"
#include "app/main_loop.h"
#include "platform/platform.h"
#include "platform/web_backend.h"
#include "tests/game_ending.h"

namespace {

bool startAtTheEnd() {
    if (!startProgram(platform::gameModule(), 1)) return false;
    setUpGameEnding(EM_ASM_INT({ return location.hash == '#won' ? 1 : 0; }) != 0);
    beginLoop(LoopStart::game(), deviceControls());
    return true;
}

bool frame() {
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
    platform::runBrowserGame(startAtTheEnd, frame);
    return 0;
}
