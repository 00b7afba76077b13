// Prints the game's --help text, for the README packed with the Windows
// build: its options, keys, gamepad and settings lines come from here, so the
// README cannot fall behind the game.

#include <cstdio>

#include "shell/options.h"

int main() {
    return std::fputs(helpText().c_str(), stdout) < 0 ? 1 : 0;
}
