// The entry and the main loop. Every frame waits for its slot on one steady
// beat of the timer: a title pass, a game step or an end-picture pass. A game
// step also waits for the step timer, which a late step does not make up, and
// messages are always handled first. When a game ends its picture shows, pass
// after pass, handling no messages but a request to close, until Return
// brings the title back. Between frames, and while play is paused, the
// program sleeps until the next frame is due or a message comes. Quitting is
// a turn's answer: the loop ends, and whoever ran it tears everything down.

#include "app/main_loop.h"

#include "app/devices.h"
#include "app/frame_beat.h"
#include "app/keyboard.h"
#include "app/startup.h"
#include "game/end_pictures.h"
#include "game/game_state.h"
#include "game/title_sequence.h"
#include "gfx/display.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

enum class Turn { Handled, Shown, Idle, Quit };

struct LoopState {
    LoopPhase phase = LoopPhase::Title;
    TitleSequence title;
    bool timerSet = false;  // the step timer is set up afresh each time a game phase begins
    int useCounter = 0;
    int32_t stepTicks = 16;  // milliseconds, unless the performance counter is used
    int64_t nextStepTime = 0;
    int64_t ticksPerSecond = 1000;
    FrameBeat beat;
    int64_t lastReadTime = 0;  // the timer as the last turn read it
    bool waiting = false;      // the last turn found nothing due: sleep before the next
    bool paused = false;
    bool pauseHeld = false;  // at the last poll of play, so a held key pauses only once
    bool endAsked = false;
    int exitCode = 0;
    platform::Message message;
};

LoopState loop;
LoopObserver observer;
// Outside the loop's state, so a jump asked for before the loop begins holds.
enum class Jump { None, ToGame, ToTitle };
Jump jump = Jump::None;
bool pauseOnFocusLoss = false;

// While paused nothing is due; the keys are looked at now and then for the
// pause key and Escape.
constexpr int64_t pausedWaitMicroseconds = 100'000;

void setUpTimer() {
    int64_t frequency = 0;
    if (platform::queryPerformanceFrequency(frequency) && frequency != 0) {
        loop.useCounter = 1;
        loop.stepTicks = static_cast<int32_t>(frequency / 60);
        loop.ticksPerSecond = frequency;
        loop.nextStepTime = platform::queryPerformanceCounter();
    } else {
        loop.useCounter = 0;
        loop.stepTicks = 16;
        loop.ticksPerSecond = 1000;
        loop.nextStepTime = static_cast<int64_t>(static_cast<uint64_t>(platform::timeGetTime()));
    }
}

int64_t readTimer() {
    if (loop.useCounter) return platform::queryPerformanceCounter();
    return static_cast<int64_t>(static_cast<uint64_t>(platform::timeGetTime()));
}

int64_t stepTicks() {
    return static_cast<int64_t>(static_cast<uint32_t>(loop.stepTicks));
}

// Reads the clock once for the turn. When a frame is due its time is the
// frame's slot on the beat; otherwise the turn is idle and the loop may sleep.
bool frameDue(int64_t& frameTime) {
    const int64_t now = readTimer();
    loop.lastReadTime = now;
    if (!takeFrame(loop.beat, now)) {
        loop.waiting = true;
        return false;
    }
    frameTime = loop.beat.slot;
    return true;
}

void beginPause() {
    loop.paused = true;
    platform::pauseSound(directSound, true);
    // The frame just shown stays, darkened, so the pause is plain to see. It
    // is shown once, and again only when the window has lost its picture.
    dimBackBuffer();
    present();
}

void endPause() {
    loop.paused = false;
    platform::pauseSound(directSound, false);
    // The step clock starts afresh: no steps are made up for the pause.
    loop.nextStepTime = readTimer();
}

// True when the pause control went down at this poll.
bool pausePressed(const Controls& controls) {
    const bool pressed = controls.pause && !loop.pauseHeld;
    loop.pauseHeld = controls.pause;
    return pressed;
}

// Takes one waiting message, if any: the quit message and a request to close
// end the loop, the rest go to the window procedure.
Turn handleMessage() {
    if (!platform::peekMessage(loop.message)) return Turn::Idle;
    switch (loop.message.kind) {
        case platform::MessageKind::Quit:
            loop.exitCode = static_cast<int>(loop.message.wParam);
            return Turn::Quit;
        case platform::MessageKind::Close:
            return Turn::Quit;
        case platform::MessageKind::FocusLost:
            if (pauseOnFocusLoss && loop.phase == LoopPhase::Game && !loop.paused) beginPause();
            break;
        case platform::MessageKind::Exposed:
            if (loop.paused) present();
            break;
        default:
            break;
    }
    platform::translateMessage(loop.message);
    platform::dispatchMessage(loop.message);
    return Turn::Handled;
}

void beginGamePhase() {
    loop.phase = LoopPhase::Game;
    loop.timerSet = false;
}

Turn titleTurn() {
    if (const Turn handled = handleMessage(); handled != Turn::Idle) return handled;
    int64_t frameTime = 0;
    if (!frameDue(frameTime)) return Turn::Idle;
    keepTitleMusic();
    const Controls& controls = pollControls();
    drawTitle(loop.title);
    scrollCredits(loop.title);
    present();
    switch (titleAfterShow(loop.title, controls)) {
        case TitleOutcome::Quits:
            return Turn::Quit;
        case TitleOutcome::GameBegins:
            beginGamePhase();
            break;
        case TitleOutcome::Stays:
            break;
    }
    return Turn::Shown;
}

void endGame() {
    loop.phase = LoopPhase::Title;
    loop.title = TitleSequence{};
    resetGame();
    if (observer.afterStep != nullptr) observer.afterStep(0);
}

// One pass of the picture on show. Its keys are read after it is shown, so
// Return already held dismisses it after a single pass.
Turn picturePass() {
    const Controls& controls = pollControls();
    drawEndPicture();
    present();
    if (dismissEndPicture(controls)) {
        endGame();
    } else {
        advanceEndPicture();
    }
    return Turn::Shown;
}

// The pictures handle no message but a request to close (the window's close
// button, or the system ending the program at logout), which ends the
// program at once.
Turn pictureTurn() {
    if (platform::takeCloseRequest()) return Turn::Quit;
    int64_t frameTime = 0;
    if (!frameDue(frameTime)) return Turn::Idle;
    return picturePass();
}

// No step runs while paused and nothing new is shown; the keys are read so
// that the pause key can end it, and Escape still quits.
Turn pausedTurn() {
    const Controls& controls = pollControls();
    if (controls.quit) return Turn::Quit;
    if (pausePressed(controls)) {
        endPause();
        return Turn::Handled;
    }
    loop.waiting = true;
    return Turn::Idle;
}

Turn gameTurn() {
    if (!loop.timerSet) {
        setUpTimer();
        loop.timerSet = true;
    }
    if (const Turn handled = handleMessage(); handled != Turn::Idle) return handled;
    if (loop.paused) return pausedTurn();

    int64_t now = 0;
    if (!frameDue(now)) return Turn::Idle;
    if (!(now > loop.nextStepTime)) {
        // Only a clock that wrapped around runs backwards: start counting afresh.
        if (loop.nextStepTime - now > stepTicks()) loop.nextStepTime = now;
        loop.waiting = true;
        return Turn::Idle;
    }
    if (observer.beforeStep != nullptr) observer.beforeStep();
    const int result = runGame();
    if (result == winPictureShows || result == failurePictureShows) {
        // The frame is shown by the picture's first pass, which follows at once.
        loop.phase = result == winPictureShows ? LoopPhase::WinPicture : LoopPhase::FailurePicture;
        return picturePass();
    }
    present();
    const Controls& controls = pollControls();
    applyGameControls(controls);
    loop.nextStepTime = now + stepTicks();
    if (observer.afterStep != nullptr) observer.afterStep(result);
    if (controls.quit) return Turn::Quit;
    if (pausePressed(controls)) beginPause();
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
    if (loop.endAsked) return Turn::Quit;
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
    setUpTimer();
    // The smallest gap the step timer lets through: one step and one tick.
    loop.beat = frameBeat(stepTicks() + 1);
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
                if (observer.afterFrame != nullptr) observer.afterFrame();
                return true;
            case Turn::Quit:
                loop.endAsked = true;
                return false;
        }
    }
}

void waitForNextFrame() {
    if (!loop.waiting || loop.endAsked) return;
    if (loop.paused) {
        platform::waitForMessage(pausedWaitMicroseconds);
        return;
    }
    // From the time the idle turn read, so the wait itself reads no clock.
    const int64_t ticks = ticksUntilFrame(loop.beat, loop.lastReadTime);
    if (ticks > 0) platform::waitForMessage(ticks * 1'000'000 / loop.ticksPerSecond);
}

void endLoop() {
    loop.endAsked = true;
}

int endProgram() {
    // The one teardown, after the loop: every device goes, children before
    // their parents, then the window they were made for.
    shutdownApp();
    platform::destroyWindow(appWindow);
    return loop.exitCode;
}

void setPauseOnFocusLoss(bool pause) {
    pauseOnFocusLoss = pause;
}

LoopPhase loopPhase() {
    return loop.phase;
}

bool startProgram(const platform::Module* instance, int showCommand) {
    if (initApplication(instance, showCommand)) return true;
    shutdownApp();
    return false;
}

int runMainLoop(bool startInGame) {
    beginLoop(startInGame);
    while (runFrame()) waitForNextFrame();
    return endProgram();
}

int winMain(const platform::Module* instance, int showCommand) {
    // A start-up that failed is told to whatever started the game, not only
    // to the player.
    if (!startProgram(instance, showCommand)) return 1;
    return runMainLoop(false);
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
