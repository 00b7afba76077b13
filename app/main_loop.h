#pragma once
// The program's entry and the one loop that owns every frame. The loop alone
// handles window messages, reads the player's controls, shows the frame and
// waits for the next one; the title, the game steps and the end pictures only
// update and draw.

#include "platform/platform.h"

// Runs the whole program and gives its exit code: 1 when start-up failed,
// else the quit message's (0).
int winMain(const platform::Module* instance, int showCommand);

// Start-up for a host that owns the loop (a browser calls runFrame once per
// display frame); false when start-up failed, after the teardown has shown why.
bool startMainLoop(const platform::Module* instance, int showCommand);

// A fresh loop: the title waiting for Space, or with startInGame the game
// phase at once, as if the loading sequence had just ended.
void beginLoop(bool startInGame);
// One frame of the loop: handles the messages that are waiting, then runs the
// title pass, game step or end-picture pass that is due and shows it; returns
// at once when no step is due yet. False once the program has ended.
bool runFrame();
// Sleeps until the next game step is due or a message arrives, when the last
// runFrame found nothing to do; a host whose display paces it needs no wait.
void waitForNextFrame();
// Play pauses when the window loses the keyboard (off unless the player asks).
void setPauseOnFocusLoss(bool pause);
// The quit message's exit code, once runFrame has answered false.
int loopExitCode();
// beginLoop, then runFrame and waitForNextFrame until the program ends; the
// exit code.
int runMainLoop(bool startInGame);

enum class LoopPhase { Title, Game, WinPicture, FailurePicture };
LoopPhase loopPhase();

// Lets a tool watch the game phase from outside: beforeStep just before each
// runGame, afterStep after that step's controls with 1, or with 0 once the
// step's end picture has been dismissed and the game reset.
struct LoopObserver {
    void (*beforeStep)() = nullptr;
    void (*afterStep)(int result) = nullptr;
};
void setLoopObserver(LoopObserver observer);

// For a replay, which plays its games one after another and then gives the
// title back: at its next turn the loop begins a game as the end of the
// loading sequence does, or leaves the game on show for the title as a
// dismissed end picture does (the observer hears nothing of either).
void jumpToGame();
void jumpToTitle();
