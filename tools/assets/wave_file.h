#pragma once
// The game's sound files: 8-bit unsigned mono PCM at 22050 Hz.

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

// Converts -1..1 samples to 8-bit with triangular dither from a fixed seed,
// so quiet tails fade into noise instead of stepping, and every run gives
// the same bytes.
std::vector<uint8_t> toEightBit(const Signal& signal, uint32_t seed);

// RIFF/WAVE with the 16-byte fmt chunk first and the data chunk after it,
// padded to an even length. False when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<uint8_t>& samples);
