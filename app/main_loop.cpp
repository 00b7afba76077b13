// The entry and the main loop. Every frame waits for its slot on one steady
// beat of the timer: a title pass, a game step or an end-picture pass. A game
// step also waits for the step timer, which a late step does not make up, and
// messages are always handled first. When a game ends its picture shows, pass
// after pass, handling no messages but a request to close, until Return
// brings the title back. Between frames, and while play is paused, the
// program sleeps until the next frame is due or a message comes. Quitting is
// a turn's answer, and a source that has nothing more to give ends the loop
// too: the loop returns, and whoever ran it tears everything down.

#include "app/main_loop.h"

#include <utility>

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

enum class Turn { Handled, Shown, Idle, Quit, Done };

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
    bool pauseHeld = false;     // at the last poll of play, so a held key pauses only once
    bool settingsHeld = false;  // likewise for the settings control
    bool overlayOpen = false;
    bool ended = false;
    LoopEnd end = LoopEnd::quit;
    int exitCode = 0;
    int64_t picturePasses = 0;  // of the end picture on show
    platform::Message message;
    ControlSource* source = nullptr;
    std::vector<LoopListener*> listeners;
    OverlayScreen* overlay = nullptr;  // what the settings control opens
    Controls controls;                 // read at the last poll
};

LoopState loop;
LoopSettings loopSettings;

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

void tell(const LoopEvent& event) {
    for (LoopListener* listener : loop.listeners) listener->heard(event);
    loop.source->heard(event);
}

void tell(LoopEventKind kind) {
    LoopEvent event;
    event.kind = kind;
    tell(event);
}

// Reads the controls from the source; false when the source is done, and the
// turn ends there, before anything more is shown.
bool poll(bool paused = false) {
    loop.controls = loop.source->poll(loop.phase, paused);
    return !loop.source->done();
}

// True when the pause control went down at this poll.
bool pausePressed(const Controls& controls) {
    const bool pressed = controls.pause && !loop.pauseHeld;
    loop.pauseHeld = controls.pause;
    return pressed;
}

// Opens the settings screen when its control went down at this poll, over
// the frame on show; true when it opened.
bool overlayOpens(const Controls& controls) {
    const bool pressed = controls.settings && !loop.settingsHeld;
    loop.settingsHeld = controls.settings;
    if (!pressed || loop.overlay == nullptr) return false;
    loop.overlay->open(loop.phase);
    loop.overlayOpen = true;
    return true;
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
            if (loopSettings.pauseOnFocusLoss && loop.phase == LoopPhase::Game && !loop.paused)
                beginPause();
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
    if (!poll()) return Turn::Done;
    // The title waits under the screen where it stands, its pass not yet drawn.
    if (overlayOpens(loop.controls)) return Turn::Shown;
    drawTitle(loop.title);
    scrollCredits(loop.title);
    present();
    switch (titleAfterShow(loop.title, loop.controls)) {
        case TitleOutcome::Quits:
            return Turn::Quit;
        case TitleOutcome::GameBegins:
            beginGamePhase();
            break;
        case TitleOutcome::Stays:
            break;
    }
    tell(LoopEventKind::titlePassShown);
    return Turn::Shown;
}

void endGame() {
    loop.phase = LoopPhase::Title;
    loop.title = TitleSequence{};
    resetGame();
    LoopEvent event;
    event.kind = LoopEventKind::endPictureDismissed;
    event.passes = loop.picturePasses;
    tell(event);
}

// One pass of the picture on show. Its keys are read after it is shown, so
// Return already held dismisses it after a single pass.
Turn picturePass() {
    ++loop.picturePasses;
    if (!poll()) return Turn::Done;
    drawEndPicture();
    present();
    if (dismissEndPicture(loop.controls)) {
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
    if (!poll(true)) return Turn::Done;
    if (loop.controls.quit) return Turn::Quit;
    if (pausePressed(loop.controls)) {
        endPause();
        return Turn::Handled;
    }
    if (overlayOpens(loop.controls)) return Turn::Shown;
    loop.waiting = true;
    return Turn::Idle;
}

// A frame of the settings screen on the frame's beat. Nothing of the game
// moves; when the screen closes the paused picture, or the title's last
// pass, is what it left in the back buffer, and a paused game stays paused.
Turn overlayTurn() {
    if (const Turn handled = handleMessage(); handled != Turn::Idle) return handled;
    int64_t frameTime = 0;
    if (!frameDue(frameTime)) return Turn::Idle;
    if (loop.phase == LoopPhase::Title) keepTitleMusic();
    // A source without the player's hands gives the screen nothing held.
    const DeviceInput* input = loop.source->readDevices();
    loop.overlayOpen = loop.overlay->frame(input != nullptr ? *input : DeviceInput{});
    present();
    return Turn::Shown;
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
    tell(LoopEventKind::stepBegins);
    const int result = runGame();
    if (result == winPictureShows || result == failurePictureShows) {
        // The frame is shown by the picture's first pass, which follows at once.
        loop.phase = result == winPictureShows ? LoopPhase::WinPicture : LoopPhase::FailurePicture;
        loop.picturePasses = 0;
        LoopEvent shown;
        shown.kind = LoopEventKind::endPictureShown;
        shown.won = result == winPictureShows;
        tell(shown);
        return picturePass();
    }
    present();
    if (!poll()) return Turn::Done;
    applyGameControls(loop.controls);
    loop.nextStepTime = now + stepTicks();
    LoopEvent ran;
    ran.kind = LoopEventKind::stepRan;
    ran.result = result;
    ran.controls = loop.controls;
    tell(ran);
    if (loop.controls.quit) return Turn::Quit;
    if (loop.source->done()) return Turn::Done;
    if (pausePressed(loop.controls)) beginPause();
    return Turn::Shown;
}

Turn loopTurn() {
    if (loop.source->done()) return Turn::Done;
    if (loop.overlayOpen) return overlayTurn();
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

void beginLoop(const LoopStart& start, ControlSource& source,
               std::vector<LoopListener*> listeners) {
    loop = LoopState{};
    loop.source = &source;
    loop.listeners = std::move(listeners);
    loop.overlay = start.screen;
    setUpTimer();
    // The smallest gap the step timer lets through: one step and one tick.
    loop.beat = frameBeat(stepTicks() + 1);
    if (start.moment) {
        // A game that was played before goes on from where it began: the
        // title's music, if any, is over.
        resumeGame(start.moment->state, start.moment->random);
        stopLooping(sndTitleMusic);
    }
    if (start.inGame) beginGamePhase();
}

bool runFrame() {
    if (loop.ended) return false;
    loop.waiting = false;
    for (;;) {
        const Turn turn = loopTurn();
        switch (turn) {
            case Turn::Handled:
                continue;
            case Turn::Shown:
            case Turn::Idle: {
                LoopEvent ended;
                ended.kind = LoopEventKind::frameEnded;
                ended.controls = loop.controls;
                tell(ended);
                return true;
            }
            case Turn::Quit:
            case Turn::Done: {
                loop.ended = true;
                loop.end = turn == Turn::Quit ? LoopEnd::quit : LoopEnd::sourceDone;
                LoopEvent ended;
                ended.kind = LoopEventKind::loopEnded;
                ended.quit = turn == Turn::Quit;
                tell(ended);
                return false;
            }
        }
    }
}

void waitForNextFrame() {
    if (!loop.waiting || loop.ended) return;
    if (loop.paused && !loop.overlayOpen) {
        platform::waitForMessage(pausedWaitMicroseconds);
        return;
    }
    // From the time the idle turn read, so the wait itself reads no clock.
    const int64_t ticks = ticksUntilFrame(loop.beat, loop.lastReadTime);
    if (ticks > 0) platform::waitForMessage(ticks * 1'000'000 / loop.ticksPerSecond);
}

int64_t microsecondsUntilFrame() {
    if (loop.ended) return 0;
    if (loop.paused && !loop.overlayOpen) return pausedWaitMicroseconds;
    return ticksUntilFrame(loop.beat, readTimer()) * 1'000'000 / loop.ticksPerSecond;
}

LoopEnd loopEnd() {
    return loop.end;
}

int endProgram() {
    // The one teardown, after the loop: every device goes, children before
    // their parents, then the window they were made for.
    shutdownApp();
    platform::destroyWindow(appWindow);
    return loop.exitCode;
}

void useLoopSettings(const LoopSettings& given) {
    loopSettings = given;
}

LoopPhase loopPhase() {
    return loop.phase;
}

bool titleWaiting() {
    return loop.phase == LoopPhase::Title && loop.title.loadCount < 1;
}

bool screenOpen() {
    return loop.overlayOpen;
}

bool startProgram(const platform::Module* instance, int showCommand) {
    if (initApplication(instance, showCommand)) return true;
    shutdownApp();
    return false;
}

LoopEnd runLoop(const LoopStart& start, ControlSource& source,
                std::vector<LoopListener*> listeners) {
    beginLoop(start, source, std::move(listeners));
    while (runFrame()) waitForNextFrame();
    return loop.end;
}

int runMainLoop(const LoopStart& start, ControlSource& source,
                std::vector<LoopListener*> listeners) {
    runLoop(start, source, std::move(listeners));
    return endProgram();
}
