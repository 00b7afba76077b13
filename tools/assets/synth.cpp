#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

double fraction(double phase) {
    return phase - std::floor(phase);
}

// Smooths a unit step at phase 0 over one sample either side.
double polyBlep(double t, double step) {
    if (t < step) {
        t /= step;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - step) {
        t = (t - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

double sine(double phase) {
    return std::sin(2 * pi * fraction(phase));
}

double triangle(double phase) {
    double t = fraction(phase);
    return t < 0.5 ? 4 * t - 1 : 3 - 4 * t;
}

double saw(double phase, double step) {
    double t = fraction(phase);
    return 2 * t - 1 - polyBlep(t, step);
}

double pulse(double phase, double step, double duty) {
    double t = fraction(phase);
    double v = t < duty ? 1.0 : -1.0;
    v += polyBlep(t, step);
    v -= polyBlep(fraction(t + 1 - duty), step);
    return v;
}

double midiToHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

double adsr(double t, double length, double attack, double decay, double sustain, double release) {
    if (t < 0) return 0;
    auto held = [&](double at) {
        if (at < attack) return at / attack;
        if (at < attack + decay) return 1 - (1 - sustain) * (at - attack) / decay;
        return sustain;
    };
    if (t < length) return held(t);
    double after = t - length;
    if (after >= release) return 0;
    return held(length) * (1 - after / release);
}

double decayEnvelope(double t, double time) {
    return t < 0 ? 0 : std::exp(-t / time);
}

double OnePole::run(double input, double cutoff) {
    double k = 1 - std::exp(-2 * pi * std::clamp(cutoff, 1.0, sampleRate / 2) / sampleRate);
    state += (input - state) * k;
    return state;
}

void StateVariable::run(double input, double cutoff, double resonance) {
    // Chamberlin form; the cutoff is kept well below the stable limit.
    double f = 2 * std::sin(pi * std::clamp(cutoff, 10.0, sampleRate / 6) / sampleRate);
    double q = 1 / std::max(resonance, 0.5);
    low += f * band;
    high = input - low - q * band;
    band += f * high;
}

void mixInto(Signal& target, const Signal& source, long offset, double gain, bool wrap) {
    long size = static_cast<long>(target.size());
    if (size == 0) return;
    for (size_t i = 0; i < source.size(); ++i) {
        long at = offset + static_cast<long>(i);
        if (wrap) {
            at %= size;
            if (at < 0) at += size;
        } else if (at < 0 || at >= size) {
            continue;
        }
        target[static_cast<size_t>(at)] += source[i] * gain;
    }
}

void normalise(Signal& signal, double peak) {
    double loudest = 0;
    for (double v : signal) loudest = std::max(loudest, std::abs(v));
    if (loudest <= 0) return;
    for (double& v : signal) v *= peak / loudest;
}

void fadeEnds(Signal& signal, int fadeIn, int fadeOut) {
    int n = static_cast<int>(signal.size());
    for (int i = 0; i < fadeIn && i < n; ++i) signal[i] *= static_cast<double>(i) / fadeIn;
    // The fade-out falls evenly in decibels, as a ringing body dies away,
    // down to -60 dB, and reaches zero at the last sample: the tail passes
    // out of hearing well before the end instead of in its last moment.
    for (int i = 0; i < fadeOut && i < n; ++i) {
        double left = static_cast<double>(i) / fadeOut;
        signal[n - 1 - i] *= std::pow(10.0, -3 * (1 - left)) * left;
    }
}

double softClip(double v) {
    return std::tanh(v);
}

void loopEcho(Signal& signal, int delay, double feedback, int repeats) {
    Signal dry = signal;
    double gain = 1;
    for (int r = 1; r <= repeats; ++r) {
        gain *= feedback;
        mixInto(signal, dry, static_cast<long>(delay) * r, gain, true);
    }
}

Signal foldIntoLoop(const Signal& extended, size_t length, size_t fade) {
    Signal out(extended.begin(), extended.begin() + static_cast<long>(length));
    for (size_t i = 0; i < fade; ++i) {
        // Equal-power weights: the two halves are unrelated noise.
        double t = static_cast<double>(i) / fade;
        out[i] = extended[i] * std::sin(t * pi / 2) + extended[length + i] * std::cos(t * pi / 2);
    }
    return out;
}
