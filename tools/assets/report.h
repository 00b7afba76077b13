#pragma once
// `--report DIR`: how loud each sound in DIR plays, and how the set hangs
// together, for whoever mixes or replaces the game's sounds.

#include <string>

// Prints one line per sound of the game found as DIR/<id>.wav, then the
// set's figures. Non-zero when a sound is missing or unreadable.
int printLoudnessReport(const std::string& dir);
