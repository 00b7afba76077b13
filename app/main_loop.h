#pragma once
// The program's entry and the one loop that owns every frame. The loop alone
// handles window messages, reads the clock and the player's controls, shows
// the frame and waits for the next one; the title, the game steps and the end
// pictures only update and draw. The desktop, the tools and the tests run the
// loop through runMainLoop; a browser, which owns its loop, calls runFrame
// once per display frame.

#include "platform/platform.h"

// Runs the whole program and gives its exit code: 1 when start-up failed,
// else 0.
int winMain(const platform::Module* instance, int showCommand);

// Start-up; false when it failed, after the teardown has shown why.
bool startProgram(const platform::Module* instance, int showCommand);

// The loop, from the title or with startInGame from the game phase at once,
// until a turn quits; then the teardown. The exit code.
int runMainLoop(bool startInGame);

// A fresh loop: the title waiting for Space, or with startInGame the game
// phase at once, as if the loading sequence had just ended.
void beginLoop(bool startInGame);
// One frame of the loop: handles the messages that are waiting, then runs the
// title pass, game step or end-picture pass that is due and shows it; returns
// at once when nothing is due yet. False once a turn has quit.
bool runFrame();
// Sleeps until the next frame is due or a message arrives, when the last
// runFrame found nothing to do.
void waitForNextFrame();
// Ends the loop before its next turn, for a tool that has seen enough.
void endLoop();
// The teardown, once, after the loop has ended; the exit code.
int endProgram();

// Play pauses when the window loses the keyboard (off unless the player asks).
void setPauseOnFocusLoss(bool pause);

enum class LoopPhase { Title, Game, WinPicture, FailurePicture };
LoopPhase loopPhase();

// Lets a driver watch the loop: beforeStep just before each runGame,
// afterStep after that step's controls with 1, or with 0 once the step's end
// picture has been dismissed and the game reset; afterFrame after every
// runFrame that goes on.
struct LoopObserver {
    void (*beforeStep)() = nullptr;
    void (*afterStep)(int result) = nullptr;
    void (*afterFrame)() = nullptr;
};
void setLoopObserver(LoopObserver observer);

// For a replay, which plays its games one after another and then gives the
// title back: at its next turn the loop begins a game as the end of the
// loading sequence does, or leaves the game on show for the title as a
// dismissed end picture does (the observer hears nothing of either).
void jumpToGame();
void jumpToTitle();
