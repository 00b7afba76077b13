#pragma once
// The game's own dice: the same sequence in every run.

#include <cstdint>

// The generator's state: 1 when the program starts and never seeded again.
// Tests may set it to replay a known stretch of the sequence.
extern uint32_t randomState;

// The next number, 0..32767.
int32_t nextRandom();
