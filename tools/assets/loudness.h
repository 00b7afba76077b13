#pragma once
// Loudness as a listener hears it, measured the way broadcast meters do:
// K-weighted mean square in 400 ms blocks, gated, in LUFS; and the true peak
// a converter reaches between the samples. The generator levels its sounds
// with these, and `--report` prints them for any set of files.

#include "synth.h"

// A second-order filter section in direct form I.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double run(double x);
};

// Butterworth high-pass, Q = 1/sqrt(2).
Biquad highPassFilter(double hz);

// Runs a filter over the signal. A loop is filtered as it plays, round and
// round: one turn settles the filter, the second is kept.
void filterSignal(Signal& signal, Biquad filter, bool loops);

constexpr double silentLoudness = -70.0;

// Integrated loudness with the absolute (-70 LUFS) and relative (-10 LU)
// gates; `silentLoudness` when no block passes.
double integratedLoudness(const Signal& signal);

// The loudness of `seconds` of signal from `start` on, without gating:
// what a meter shows for that stretch.
double windowLoudness(const Signal& signal, double start, double seconds);

// For each sample, the largest magnitude the band-limited signal reaches
// from that sample to the next, found by four-times oversampling.
Signal truePeakEnvelope(const Signal& signal, bool loops);

// The largest of those, in dBTP.
double truePeakDb(const Signal& signal, bool loops);

double toDb(double amplitude);
double fromDb(double db);
