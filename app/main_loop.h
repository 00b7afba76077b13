#pragma once
// The program's entry and the one loop that owns every frame. The loop alone
// handles window messages, reads the clock, takes the controls from its
// source, shows the frame and waits for the next one; the title, the game
// steps and the end pictures only update and draw. What happened it tells
// its listeners, who only listen. What a run needs it gets at beginLoop.
// The tools and the tests run the loop through runLoop or runMainLoop; the
// desktop and a browser run the title and its replays a frame at a time
// (app/title_and_replays.h), the browser, which owns its loop, once per
// display frame.

#include <cstdint>
#include <optional>
#include <vector>

#include "game/loop_events.h"
#include "platform/platform.h"
#include "replay/replay_file.h"

// Start-up; false when it failed, after the teardown has shown why.
bool startProgram(const platform::Module* instance, int showCommand);

class OverlayScreen;

// What a run of the loop starts from, and the screen its settings control
// opens.
struct LoopStart {
    bool inGame = false;
    std::optional<GameMoment> moment;
    OverlayScreen* screen = nullptr;  // none: the control does nothing

    // The title waiting for Space.
    static LoopStart title() { return {}; }
    // The game phase at once, as if the loading sequence had just ended.
    static LoopStart game() { return {true, std::nullopt}; }
    // The game phase at once, from this game and generator (a replay's game).
    static LoopStart game(const GameMoment& from) { return {true, from}; }
    // The same start with the settings screen at hand.
    LoopStart withScreen(OverlayScreen* settings) const {
        LoopStart start = *this;
        start.screen = settings;
        return start;
    }
};

enum class LoopEnd { quit, sourceDone };

// A fresh loop from start, reading source and telling listeners.
void beginLoop(const LoopStart& start, ControlSource& source,
               std::vector<LoopListener*> listeners = {});
// One frame of the loop: handles the messages that are waiting, then runs the
// title pass, game step or end-picture pass that is due and shows it; returns
// at once when nothing is due yet. False once the loop has ended.
bool runFrame();
// Sleeps until the next frame is due or a message arrives, when the last
// runFrame found nothing to do.
void waitForNextFrame();
// Microseconds from now until the next frame is due (0: it is due already),
// for a browser that calls runFrame only then rather than sleeping; while
// play is paused, until the next look at the keys.
int64_t microsecondsUntilFrame();
// How the loop ended, once runFrame said it did.
LoopEnd loopEnd();
// A whole run: beginLoop, then frames until it ends. No teardown.
LoopEnd runLoop(const LoopStart& start, ControlSource& source,
                std::vector<LoopListener*> listeners = {});
// A whole run and then the teardown; the exit code.
int runMainLoop(const LoopStart& start, ControlSource& source,
                std::vector<LoopListener*> listeners = {});
// The teardown, once, after the loop has ended; the exit code.
int endProgram();

// A screen of the program's own that the player opens over the title or a
// paused game with the settings control: while it is open the title and play
// stand still (the title's music goes on), and the screen takes the
// player's keys, pads and pointer as the loop's source reads them, so no
// control of the game sees them.
class OverlayScreen {
  public:
    virtual ~OverlayScreen() = default;
    // The frame it opens over is in the back buffer.
    virtual void open(LoopPhase over) = 0;
    // One frame: what the devices hold now in, the back buffer drawn, which
    // is shown after. False once it has closed and every key and button that
    // closed it is up again; the back buffer then holds the frame it opened
    // over.
    virtual bool frame(const DeviceInput& input) = 0;
};

// The player's settings the loop itself acts on, given at start-up and again
// whenever the player changes one (preferences.h sends them here).
struct LoopSettings {
    // Play pauses when the window loses the keyboard (off unless the player asks).
    bool pauseOnFocusLoss = false;
};
void useLoopSettings(const LoopSettings& settings);

// Where the loop stands, for a page that offers a start button between games.
LoopPhase loopPhase();
// The title waits for Space: the game's briefing has not begun.
bool titleWaiting();
// The settings screen is open: a page's tap is on it, not on the title.
bool screenOpen();
