#pragma once
// What the main loop tells and where it takes its controls from. The loop
// lives in the application, but what it says is about the game's steps and
// pictures, and the recorder, the player of replays and the tools that
// listen to it sit beside the game, below the application: so the words
// they share are here, next to the controls record a source fills.

#include <cstdint>

#include "game/controls.h"

// What the player's devices held (the application's keyboard and pads).
struct DeviceInput;

// Where the loop stands when it reads the controls or ends a frame.
enum class LoopPhase { Title, Game, WinPicture, FailurePicture };

enum class LoopEventKind {
    stepBegins,           // runGame is about to run
    stepRan,              // a step that goes on ran, and its controls were applied
    endPictureShown,      // the step's game ended: its picture's first pass is next
    endPictureDismissed,  // Return came; the game has been reset for the title
    titlePassShown,       // a pass of the title (or the loading sequence) is on screen
    frameEnded,           // a frame ended and the loop goes on
    loopEnded,            // the loop is over: a turn quit, or the source was done
};

struct LoopEvent {
    LoopEventKind kind = LoopEventKind::frameEnded;
    int result = 0;      // stepRan: runGame's answer
    Controls controls;   // stepRan: what was read after the step; frameEnded: the last read
    bool won = false;    // endPictureShown: the won picture, not the failure one
    int64_t passes = 0;  // endPictureDismissed: passes shown, the last one with Return
    bool quit = false;   // loopEnded: a turn quit (not the source running out)
};

// Hears every event, in order; it never changes the loop's course.
class LoopListener {
  public:
    virtual ~LoopListener() = default;
    virtual void heard(const LoopEvent& event) = 0;
};

// Gives the loop its controls: the keyboard and the pads, a replay, a key
// script. The game cannot tell which.
class ControlSource {
  public:
    virtual ~ControlSource() = default;
    // What is held at this poll, in this phase (paused: play stands still).
    virtual Controls poll(LoopPhase phase, bool paused) = 0;
    // Hears each event after the listeners have.
    virtual void heard(const LoopEvent&) {}
    // Nothing more to give: the loop ends by return at its next look.
    virtual bool done() const { return false; }
    // The player's keys, pads and pointer read afresh, for a screen of the
    // program's own open over the loop, which reads them rather than
    // controls; none from a source without the player's hands.
    virtual const DeviceInput* readDevices() { return nullptr; }
};
