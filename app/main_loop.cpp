// The entry and the main loop. The title phase makes one pass per displayed
// frame, paced by the flip alone, so all its motion is counted in passes. The
// game phase runs one step whenever the timer has passed the next step's time;
// a late step is not made up, and messages are always handled first.

#include "app/main_loop.h"

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

struct LoopState {
    int running = 1;
    int inTitle = 1;
    int loadCount = 0;      // 0 waits for Space; 1..701 counts the loading passes
    int openHalfWidth = 0;  // of the loading picture's opening, 0..320
    double creditsScroll = 0.0;
    int useCounter = 0;
    int32_t stepTicks = 16;  // milliseconds, unless the performance counter is used
    int64_t nextStepTime = 0;
    platform::Message message;
};

LoopObserver observer;

void titlePass(LoopState& loop) {
    if (platform::peekMessage(loop.message)) {
        if (loop.message.kind == platform::MessageKind::Quit) {
            loop.inTitle = 0;
            loop.running = 0;
        }
        platform::translateMessage(loop.message);
        platform::dispatchMessage(loop.message);
        return;
    }
    // Runs every pass, so the music starts again whenever it is not playing.
    playSound(snd143, platform::DSBPLAY_LOOPING);
    pollKeyboard();

    drawKeyed(surfTitle, Rect{0, 0, 640, 480}, 0, 0);
    drawOpening(surfLoading, loop.openHalfWidth);
    if (loop.openHalfWidth == 320) {
        drawKeyed(surfBarFrame, Rect{0, 0, 352, 24}, 144, 380);
        drawKeyed(surfBarFill, Rect{0, 0, loop.loadCount / 2, 24}, 144, 380);
    }
    if (loop.loadCount < 1) {
        // Once the window reaches past the panel's last row nothing is drawn,
        // and the panel stays away until the scroll starts again from 0.
        const auto top = static_cast<int32_t>(loop.creditsScroll);
        const auto bottom = static_cast<int32_t>(loop.creditsScroll + 135);
        drawKeyed(surfCredits, Rect{0, top, 288, bottom}, 320, 150);
        loop.creditsScroll += 0.3;
        if (loop.creditsScroll > 600.0) loop.creditsScroll = 0.0;
    }
    platform::flip(primarySurface);

    if (loop.loadCount < 1 && isKeyDown(platform::DIK_SPACE)) {
        loop.loadCount = 1;
        playSound(snd146, 0);
    }
    if (isKeyDown(platform::DIK_ESCAPE)) {
        // The window procedure tears everything down; nothing is touched again.
        platform::destroyWindow(appWindow);
        return;
    }
    if (loop.loadCount < 1) return;

    loop.openHalfWidth += 3;
    if (loop.openHalfWidth >= 320) loop.openHalfWidth = 320;
    loop.loadCount += 1;
    if (loop.loadCount <= 700) return;

    stopLooping(snd143);
    loop.inTitle = 0;
}

void resetAfterGame(LoopState& loop) {
    loop.inTitle = 1;
    loop.loadCount = 0;
    loop.openHalfWidth = 0;
    loop.creditsScroll = 0.0;
    resetGame();
}

int64_t readTimer(const LoopState& loop) {
    if (loop.useCounter) return platform::queryPerformanceCounter();
    return static_cast<int64_t>(static_cast<uint64_t>(platform::timeGetTime()));
}

// Runs game steps until the game ends (false) or the program quits (true).
bool gamePhase(LoopState& loop) {
    int64_t frequency = 0;
    if (platform::queryPerformanceFrequency(frequency) && frequency != 0) {
        loop.useCounter = 1;
        loop.stepTicks = static_cast<int32_t>(frequency / 60);
        loop.nextStepTime = platform::queryPerformanceCounter();
    } else {
        loop.nextStepTime = static_cast<int64_t>(static_cast<uint64_t>(platform::timeGetTime()));
    }
    const auto step = static_cast<int64_t>(static_cast<uint32_t>(loop.stepTicks));

    for (;;) {
        if (loop.running == 0) return true;
        if (platform::peekMessage(loop.message)) {
            if (loop.message.kind == platform::MessageKind::Quit) loop.running = 0;
            platform::translateMessage(loop.message);
            platform::dispatchMessage(loop.message);
            continue;
        }
        const int64_t now = readTimer(loop);
        if (!(now > loop.nextStepTime)) {
            // Only a clock that wrapped around runs backwards: start counting afresh.
            if (loop.nextStepTime - now > step) loop.nextStepTime = now;
            continue;
        }
        if (observer.beforeStep != nullptr) observer.beforeStep();
        const int result = runGame();
        if (result != 1) {
            resetAfterGame(loop);
            if (observer.afterStep != nullptr) observer.afterStep(result);
            return false;
        }
        pollKeyboard();
        applyGameControls();
        loop.nextStepTime = now + step;
        if (observer.afterStep != nullptr) observer.afterStep(result);
    }
}

}  // namespace

int runMainLoop(bool startInGame) {
    LoopState loop;
    if (startInGame) loop.inTitle = 0;
    for (;;) {
        if (loop.inTitle == 1) {
            titlePass(loop);
            continue;
        }
        if (gamePhase(loop)) return static_cast<int>(loop.message.wParam);
    }
}

int winMain(const platform::Module* instance, int showCommand) {
    if (!initApplication(instance, showCommand)) {
        shutdownApp();
        return 0;
    }
    return runMainLoop(false);
}

void setLoopObserver(LoopObserver newObserver) {
    observer = newObserver;
}
