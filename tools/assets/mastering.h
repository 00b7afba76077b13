#pragma once
// The last stage every sound passes before it becomes 8-bit: no DC or
// sub-bass the speakers cannot play, a level set by loudness under a cap on
// the true peak, and digital silence wherever the sound has died away.

#include "synth.h"

// Every sound stays at least this far under full scale between the samples.
constexpr double peakCeilingDb = -1.0;

// Masters a sound in place to `loudness` LUFS.
void master(Signal& signal, double loudness, bool loops);

// Scales to the loudness, then pulls down only the peaks that would pass
// the ceiling, with a smooth gain, and scales again until both hold.
void levelByLoudness(Signal& signal, double loudness, double ceilingDb, bool loops);

// Silences every stretch more than 10 ms away from a sample above -60 dBFS,
// with a short ramp, so tails end in silence rather than in dither.
void gateSilence(Signal& signal, bool loops);
