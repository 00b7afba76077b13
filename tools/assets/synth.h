#pragma once
// Sound building blocks: oscillators, noise, envelopes, filters and mixing,
// all on plain sample vectors at the game's 22050 Hz.

#include <cstdint>
#include <vector>

#include "rng.h"

constexpr double sampleRate = 22050.0;
constexpr double pi = 3.14159265358979323846;

using Signal = std::vector<double>;

// Oscillators take a phase in cycles; only the fractional part matters.
double sine(double phase);
double triangle(double phase);
// Band-limited with polyBLEP so high notes do not alias into hiss;
// `step` is the phase increment per sample.
double saw(double phase, double step);
double pulse(double phase, double step, double duty = 0.5);

double midiToHz(double note);

// Attack-decay-sustain-release, `t` and `length` (when release starts) in seconds.
double adsr(double t, double length, double attack, double decay, double sustain, double release);
// 1 falling to 1/e every `time` seconds.
double decayEnvelope(double t, double time);

// A one-pole low-pass; `cutoff` in Hz may change every sample.
struct OnePole {
    double state = 0;
    double run(double input, double cutoff);
};

// A resonant state-variable filter giving low, band and high outputs.
struct StateVariable {
    double low = 0;
    double band = 0;
    double high = 0;
    void run(double input, double cutoff, double resonance);
};

// Adds `source` into `target` from `offset` on. With `wrap` the part that
// runs past the end comes back at the start, so loops stay seamless.
void mixInto(Signal& target, const Signal& source, long offset, double gain, bool wrap);

// Scales so the loudest sample has the given level.
void normalise(Signal& signal, double peak);

// Short ramps at both ends so a one-shot starts and ends at silence.
void fadeEnds(Signal& signal, int fadeIn, int fadeOut);

// Gentle saturation for a fuller mix without hard clipping.
double softClip(double v);

// A feedback echo that wraps around a loop, so the echo of the last bar
// sounds over the first.
void loopEcho(Signal& signal, int delay, double feedback, int repeats);

// Makes a seamless loop of `length` samples from a signal rendered
// `fade` samples longer: the overhang is crossfaded into the start, so the
// last sample flows into the first as it did into the overhang.
Signal foldIntoLoop(const Signal& extended, size_t length, size_t fade);
