#include "bench/headless_game.h"

#include <random>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {

bool started = false;
std::mt19937 dice(12345);
platform::headless::Snapshot held;
int endPictureReads = 0;
int64_t drawnPixels = 0;

// Counts what bltFast would accept: a rectangle inside its source that lands
// wholly on the 640 x 480 back buffer.
void countDraw(const Surface* source, const Rect& r, int x, int y) {
    if (source == nullptr || r.left >= r.right || r.top >= r.bottom || r.left < 0 || r.top < 0 ||
        r.right > source->width || r.bottom > source->height) {
        return;
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (x < 0 || y < 0 || x > 640 - width || y > 480 - height) {
        return;
    }
    drawnPixels += static_cast<int64_t>(width) * height;
}

}  // namespace

bool startHeadlessGame() {
    if (started) {
        return true;
    }
    platform::headless::use();
    platform::headless::setAutoAdvance(20'000);
    if (initApplication(platform::gameModule(), 1) == 0) {
        shutdownApp();
        return false;
    }
    setDrawObserver(countDraw);
    beginLoop(LoopStart::game(), deviceControls());
    started = true;
    return true;
}

void forgetHeadlessGame() {
    if (started) endProgram();
    started = false;
}

void headlessGameStep() {
    if (dice() % 24 == 0) {
        held.clear();
        for (uint8_t key : {platform::DIK_LEFT, platform::DIK_RIGHT, platform::DIK_UP,
                            platform::DIK_DOWN, platform::DIK_L}) {
            if (dice() % 3 == 0) {
                held.push_back(key);
            }
        }
    }
    const LoopPhase phase = loopPhase();
    if (phase == LoopPhase::WinPicture || phase == LoopPhase::FailurePicture) {
        // The player looks at an end picture for a while, then presses Return.
        const bool dismiss = ++endPictureReads >= 120;
        platform::headless::setKeyScript(
            {dismiss ? platform::headless::Snapshot{platform::DIK_RETURN} : held});
    } else {
        endPictureReads = 0;
        platform::headless::setKeyScript({held});
    }
    runFrame();
    // The next game starts at once, without the title's loading sequence.
    if (loopPhase() == LoopPhase::Title) beginLoop(LoopStart::game(), deviceControls());
    platform::headless::clearCalls();
}

int64_t takeDrawnPixels() {
    const int64_t pixels = drawnPixels;
    drawnPixels = 0;
    return pixels;
}
