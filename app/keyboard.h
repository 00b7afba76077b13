#pragma once
// The keyboard as the game reads it: one snapshot of all keys per poll.

#include <cstdint>

#include "platform/platform.h"

// One byte per scan code, bit 7 set while the key was down at the last poll.
extern uint8_t keyState[256];

void pollKeyboard();
bool isKeyDown(int code);
// The arrow keys, the landing key and Escape, after each game step.
void applyGameControls();
