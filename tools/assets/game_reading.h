#pragma once
// What the game itself makes of a picture or sound file: its own loaders,
// the very code the start-up runs, on the headless machine.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "checker.h"

// The picture the game's bitmap loader gives for the file, or nothing when it
// refuses the file.
std::optional<PictureReading> gamePicture(std::span<const uint8_t> bytes);

// The samples the start-up puts into a sound buffer for the file (the WAVE
// reader's data size and format, a buffer made for them, the data read into
// it), or nothing when a step refuses the file.
std::optional<std::vector<uint8_t>> gameSound(std::span<const uint8_t> bytes);
