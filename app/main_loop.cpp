// The entry and the main loop. The title makes one pass per displayed frame,
// paced by the display alone. The game phase runs one step whenever the timer
// has passed the next step's time; a late step is not made up, and messages
// are always handled first. When a game ends its picture shows, pass after
// pass, handling no messages, until Return brings the title back.

#include "app/main_loop.h"

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/startup.h"
#include "app/title_sequence.h"
#include "game/end_pictures.h"
#include "game/game_state.h"
#include "gfx/display.h"

namespace {

enum class Turn { Handled, Shown, Idle, Quit };

struct LoopState {
    int running = 1;
    LoopPhase phase = LoopPhase::Title;
    TitleSequence title;
    bool timerSet = false;  // the timer is set up afresh each time a game phase begins
    int useCounter = 0;
    int32_t stepTicks = 16;  // milliseconds, unless the performance counter is used
    int64_t nextStepTime = 0;
    platform::Message message;
};

LoopState loop;
LoopObserver observer;

// Takes one waiting message, if any, and hands it to the window procedure.
bool handleMessage() {
    if (!platform::peekMessage(loop.message)) return false;
    if (loop.message.kind == platform::MessageKind::Quit) loop.running = 0;
    platform::translateMessage(loop.message);
    platform::dispatchMessage(loop.message);
    return true;
}

void beginGamePhase() {
    loop.phase = LoopPhase::Game;
    loop.timerSet = false;
}

Turn titleTurn() {
    if (handleMessage()) {
        if (loop.running == 0) beginGamePhase();  // whose first turn ends the loop
        return Turn::Handled;
    }
    keepTitleMusic();
    const Controls& controls = pollControls();
    drawTitle(loop.title);
    present();
    switch (titleAfterShow(loop.title, controls)) {
        case TitleOutcome::Quits:
            // The window procedure tears everything down; nothing is touched again.
            platform::destroyWindow(appWindow);
            break;
        case TitleOutcome::GameBegins:
            beginGamePhase();
            break;
        case TitleOutcome::Stays:
            break;
    }
    return Turn::Shown;
}

void setUpTimer() {
    int64_t frequency = 0;
    if (platform::queryPerformanceFrequency(frequency) && frequency != 0) {
        loop.useCounter = 1;
        loop.stepTicks = static_cast<int32_t>(frequency / 60);
        loop.nextStepTime = platform::queryPerformanceCounter();
    } else {
        loop.nextStepTime = static_cast<int64_t>(static_cast<uint64_t>(platform::timeGetTime()));
    }
    loop.timerSet = true;
}

int64_t readTimer() {
    if (loop.useCounter) return platform::queryPerformanceCounter();
    return static_cast<int64_t>(static_cast<uint64_t>(platform::timeGetTime()));
}

void endGame() {
    loop.phase = LoopPhase::Title;
    loop.title = TitleSequence{};
    resetGame();
    if (observer.afterStep != nullptr) observer.afterStep(0);
}

// One pass of the picture on show. Its keys are read after it is shown, so
// Return already held dismisses it after a single pass.
Turn pictureTurn() {
    const Controls& controls = pollControls();
    const bool win = loop.phase == LoopPhase::WinPicture;
    if (win) {
        drawWinPicture();
    } else {
        drawFailurePicture();
    }
    present();
    if (win ? winPictureDismissed(controls) : failurePictureDismissed(controls)) endGame();
    return Turn::Shown;
}

Turn gameTurn() {
    if (!loop.timerSet) setUpTimer();
    if (loop.running == 0) return Turn::Quit;
    if (handleMessage()) return Turn::Handled;

    const auto step = static_cast<int64_t>(static_cast<uint32_t>(loop.stepTicks));
    const int64_t now = readTimer();
    if (!(now > loop.nextStepTime)) {
        // Only a clock that wrapped around runs backwards: start counting afresh.
        if (loop.nextStepTime - now > step) loop.nextStepTime = now;
        return Turn::Idle;
    }
    if (observer.beforeStep != nullptr) observer.beforeStep();
    const int result = runGame();
    if (result == winPictureShows || result == failurePictureShows) {
        // The frame is shown by the picture's first pass, which follows at once.
        loop.phase = result == winPictureShows ? LoopPhase::WinPicture : LoopPhase::FailurePicture;
        return pictureTurn();
    }
    present();
    const Controls& controls = pollControls();
    applyGameControls(controls);
    if (controls.quit) platform::destroyWindow(appWindow);
    loop.nextStepTime = now + step;
    if (observer.afterStep != nullptr) observer.afterStep(result);
    return Turn::Shown;
}

Turn loopTurn() {
    switch (loop.phase) {
        case LoopPhase::Title:
            return titleTurn();
        case LoopPhase::Game:
            return gameTurn();
        case LoopPhase::WinPicture:
        case LoopPhase::FailurePicture:
            return pictureTurn();
    }
    return Turn::Quit;
}

}  // namespace

void beginLoop(bool startInGame) {
    loop = LoopState{};
    if (startInGame) beginGamePhase();
}

bool runFrame() {
    for (;;) {
        switch (loopTurn()) {
            case Turn::Handled:
                continue;
            case Turn::Shown:
            case Turn::Idle:
                return true;
            case Turn::Quit:
                return false;
        }
    }
}

int loopExitCode() {
    return static_cast<int>(loop.message.wParam);
}

int runMainLoop(bool startInGame) {
    beginLoop(startInGame);
    while (runFrame()) {
    }
    return loopExitCode();
}

LoopPhase loopPhase() {
    return loop.phase;
}

bool startMainLoop(const platform::Module* instance, int showCommand) {
    if (!initApplication(instance, showCommand)) {
        shutdownApp();
        return false;
    }
    beginLoop(false);
    return true;
}

int winMain(const platform::Module* instance, int showCommand) {
    // A start-up that failed is told to whatever started the game, not only
    // to the player.
    if (!startMainLoop(instance, showCommand)) return 1;
    while (runFrame()) {
    }
    return loopExitCode();
}

void setLoopObserver(LoopObserver newObserver) {
    observer = newObserver;
}
