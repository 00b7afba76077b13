#pragma once
// The keyboard as the game reads it: one snapshot of all keys per poll, and
// the controls record the snapshot stands for.

#include <cstdint>

#include "game/controls.h"
#include "platform/platform.h"

// One byte per scan code, bit 7 set while the key was down at the last poll.
extern uint8_t keyState[256];

void pollKeyboard();
bool isKeyDown(int code);

// What the player held at the last poll.
const Controls& currentControls();
// Polls the keyboard and the gamepads and gives what the player holds now.
const Controls& pollControls();

// Sees every poll's controls and may change them: a replay stands in for the
// player's hands there, and the screenshot key acts.
using PollHook = void (*)(Controls& controls);
void setPollHook(PollHook hook);
