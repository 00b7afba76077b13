// A linear congruential generator with the constants of the classic C
// library, so the submarine surfaces at the same moments in every run.

#include "game/random.h"

uint32_t randomState = 1;

int32_t nextRandom() {
    // Unsigned arithmetic wraps modulo 2^32, as the generator needs.
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int32_t>((randomState >> 16) & 32767u);
}
