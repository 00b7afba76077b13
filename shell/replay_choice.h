#pragma once
// A replay the player asked to watch without a command line: picked on the
// settings screen or dropped onto the window. Whoever runs the loop takes it
// once the title is on show, plays it, and brings the title back.

#include <filesystem>
#include <optional>

// The last choice wins: a second pick before the first was taken replaces it.
void chooseReplay(const std::filesystem::path& file);
bool replayChosen();
// The choice, once; empty when there is none.
std::optional<std::filesystem::path> takeChosenReplay();
