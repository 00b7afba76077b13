#pragma once
// The real game started once on the headless machine, shared by the
// benchmarks that need its pictures or its steps.

#include <cstdint>

// Starts the game headless if it is not running yet; false if start-up failed.
bool startHeadlessGame();

// Ends the game, if it runs, so that a benchmark can start its own; the next
// startHeadlessGame begins afresh.
void forgetHeadlessGame();

// One frame of the main loop: a game step, or a pass of an end picture. The
// keys change now and then from a fixed-seed generator; an end picture is
// dismissed with Return after a while, and the game starts afresh.
void headlessGameStep();

// Pixels that drawKeyed really copied since the last call.
int64_t takeDrawnPixels();
