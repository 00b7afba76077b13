// The entry and the main loop. The title makes one pass per displayed frame,
// paced by the display alone. The game phase runs one step whenever the timer
// has passed the next step's time; a late step is not made up, and messages
// are always handled first. When a game ends its picture shows, pass after
// pass, handling no messages but a request to close, until Return brings the
// title back. Between steps, and while play is paused, the program sleeps
// until the next step is due or a message comes.

#include "app/main_loop.h"

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/preferences.h"
#include "app/startup.h"
#include "app/title_sequence.h"
#include "game/end_pictures.h"
#include "game/game_state.h"
#include "gfx/display.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

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
    int64_t ticksPerSecond = 1000;
    int64_t lastReadTime = 0;  // the timer as the last game turn read it
    bool waiting = false;      // the last turn found nothing due: sleep before the next
    bool paused = false;
    bool pauseHeld = false;  // at the last poll of play, so a held key pauses only once
    platform::Message message;
};

LoopState loop;
LoopObserver observer;
// Outside the loop's state, so a jump asked for before the loop begins holds.
enum class Jump { None, ToGame, ToTitle };
Jump jump = Jump::None;
bool pauseOnFocusLoss = false;

// While paused the darkened frame is shown again now and then (a window
// that was covered needs it), and the keys are looked at as they change.
constexpr int64_t pausedWaitMicroseconds = 100'000;

void beginPause() {
    loop.paused = true;
    platform::pauseSound(directSound, true);
    // The frame just shown stays, darkened, so the pause is plain to see.
    dimBackBuffer();
    present();
}

void endPause() {
    loop.paused = false;
    platform::pauseSound(directSound, false);
    // The step clock starts afresh: no steps are made up for the pause.
    loop.nextStepTime = loop.useCounter ? platform::queryPerformanceCounter()
                                        : static_cast<int64_t>(platform::timeGetTime());
}

// True when the pause control went down at this poll.
bool pausePressed(const Controls& controls) {
    const bool pressed = controls.pause && !loop.pauseHeld;
    loop.pauseHeld = controls.pause;
    return pressed;
}

// Takes one waiting message, if any, and hands it to the window procedure.
bool handleMessage() {
    if (!platform::peekMessage(loop.message)) return false;
    if (loop.message.kind == platform::MessageKind::Quit) loop.running = 0;
    if (loop.message.kind == platform::MessageKind::FocusLost && pauseOnFocusLoss &&
        loop.phase == LoopPhase::Game && !loop.paused && loop.running != 0) {
        beginPause();
    }
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
        loop.ticksPerSecond = frequency;
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

// The window's close button or the system's request to end (SIGTERM at
// logout) ends the program here too, at once, though the pictures handle no
// other message: the window goes, the teardown runs, and the quit message
// that follows ends the loop.
bool closedDuringPicture() {
    if (!platform::takeCloseRequest()) return false;
    platform::destroyWindow(appWindow);
    loop.phase = LoopPhase::Game;
    loop.timerSet = true;
    return true;
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
    if (closedDuringPicture()) return Turn::Handled;
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

// No step runs while paused; the keys are read so that the pause key can end
// it, and Escape still quits.
Turn pausedTurn() {
    const Controls& controls = pollControls();
    if (controls.quit) {
        platform::destroyWindow(appWindow);
        return Turn::Handled;
    }
    if (pausePressed(controls)) {
        endPause();
        return Turn::Handled;
    }
    present();
    loop.waiting = true;
    return Turn::Idle;
}

Turn gameTurn() {
    if (!loop.timerSet) setUpTimer();
    if (loop.running == 0) return Turn::Quit;
    if (handleMessage()) return Turn::Handled;
    if (loop.paused) return pausedTurn();

    const auto step = static_cast<int64_t>(static_cast<uint32_t>(loop.stepTicks));
    const int64_t now = readTimer();
    loop.lastReadTime = now;
    if (!(now > loop.nextStepTime)) {
        // Only a clock that wrapped around runs backwards: start counting afresh.
        if (loop.nextStepTime - now > step) loop.nextStepTime = now;
        loop.waiting = true;
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
    if (pausePressed(controls) && !controls.quit) beginPause();
    return Turn::Shown;
}

void takeJump() {
    if (jump == Jump::ToGame && loop.phase == LoopPhase::Title) {
        stopLooping(sndTitleMusic);
        beginGamePhase();
    } else if (jump == Jump::ToTitle && loop.phase == LoopPhase::Game) {
        if (loop.paused) endPause();
        stopLooping(sndRotorLoop);
        loop.phase = LoopPhase::Title;
        loop.title = TitleSequence{};
        resetGame();
    }
    jump = Jump::None;
}

Turn loopTurn() {
    if (jump != Jump::None) takeJump();
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
    loop.waiting = false;
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

void waitForNextFrame() {
    if (!loop.waiting || loop.phase != LoopPhase::Game || loop.running == 0) return;
    if (loop.paused) {
        platform::waitForMessage(pausedWaitMicroseconds);
        return;
    }
    // From the time the idle turn read, so the wait itself reads no clock.
    const int64_t ticks = loop.nextStepTime - loop.lastReadTime;
    if (ticks < 0) return;
    // The step is due once the timer has passed its time, so the wait runs a
    // hair past it.
    platform::waitForMessage((ticks * 1'000'000) / loop.ticksPerSecond + 1);
}

void setPauseOnFocusLoss(bool pause) {
    pauseOnFocusLoss = pause;
}

int loopExitCode() {
    return static_cast<int>(loop.message.wParam);
}

int runMainLoop(bool startInGame) {
    beginLoop(startInGame);
    while (runFrame()) waitForNextFrame();
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
        rememberDisplayChoice();
        waitForNextFrame();
    }
    return loopExitCode();
}

void setLoopObserver(LoopObserver newObserver) {
    observer = newObserver;
}

void jumpToGame() {
    jump = Jump::ToGame;
}

void jumpToTitle() {
    jump = Jump::ToTitle;
}
