#pragma once
// The program's entry: start-up, the title sequence, the game steps.

#include "platform/platform.h"

// Runs the whole program and gives its exit code.
int winMain(const platform::Module* instance, int showCommand);

// The loop that follows a successful start-up; returns the quit message's
// exit code. With startInGame the game phase begins at once, as if the
// loading sequence had just ended.
int runMainLoop(bool startInGame);

// Lets a tool watch the game phase from outside: beforeStep just before each
// runGame, afterStep after that step's controls (or after the reset when the
// step ended a game) with runGame's result.
struct LoopObserver {
    void (*beforeStep)() = nullptr;
    void (*afterStep)(int result) = nullptr;
};
void setLoopObserver(LoopObserver observer);
