#pragma once
// The keyboard as the game reads it: one snapshot of all keys per poll, and
// the controls record the snapshot stands for.

#include "game/controls.h"
#include "platform/platform.h"

// What the player held at the last poll.
const Controls& currentControls();
// Polls the keyboard and the gamepads and gives what the player holds now.
const Controls& pollControls();

// Sees every poll's controls and may change them: a replay stands in for the
// player's hands there, and the screenshot key acts.
using PollHook = void (*)(Controls& controls);
void setPollHook(PollHook hook);
