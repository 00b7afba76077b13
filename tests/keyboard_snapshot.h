#pragma once
// The keyboard snapshot behind the controls record. The game reads only the
// controls; the tests that check how the snapshot is taken and read use it
// directly.

#include <cstdint>

// One byte per scan code, bit 7 set while the key was down at the last poll.
extern uint8_t keyState[256];
// Takes the snapshot, getting the keyboard back once after a focus loss.
void pollKeyboard();
bool isKeyDown(int code);
