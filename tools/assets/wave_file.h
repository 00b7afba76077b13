#pragma once
// The game's sound files: 8-bit unsigned mono PCM at 22050 Hz.

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

// Converts -1..1 samples to 8-bit. Triangular dither from a fixed seed keeps
// quiet passages from stepping, and every run gives the same bytes; each
// sample's rounding error is taken off the next, which moves the dither's
// hiss up towards the top of the band, away from where the ear is keenest
// and the sounds live. Where the signal is exactly zero the byte is exactly
// 128: silence stays silent.
std::vector<uint8_t> toEightBit(const Signal& signal, uint32_t seed);

// RIFF/WAVE with the 16-byte fmt chunk first and the data chunk after it,
// padded to an even length. False when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<uint8_t>& samples);
