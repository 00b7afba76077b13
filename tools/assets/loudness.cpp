#include "loudness.h"

#include <algorithm>
#include <array>
#include <cmath>

double Biquad::run(double x) {
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

Biquad highPassFilter(double hz) {
    double k = std::tan(pi * hz / sampleRate);
    double q = 1 / std::sqrt(2.0);
    double norm = 1 / (1 + k / q + k * k);
    Biquad f;
    f.b0 = norm;
    f.b1 = -2 * norm;
    f.b2 = norm;
    f.a1 = 2 * (k * k - 1) * norm;
    f.a2 = (1 - k / q + k * k) * norm;
    return f;
}

void filterSignal(Signal& signal, Biquad filter, bool loops) {
    if (loops)
        for (double v : signal) filter.run(v);
    for (double& v : signal) v = filter.run(v);
}

double toDb(double amplitude) {
    return 20 * std::log10(std::max(amplitude, 1e-12));
}

double fromDb(double db) {
    return std::pow(10.0, db / 20);
}

namespace {

// The two stages of the K weighting, derived for our sample rate from their
// analogue prototypes: a shelf of +4 dB above ~1.7 kHz for the head, then a
// high-pass at ~38 Hz for what the ear barely weighs.
Biquad headShelf() {
    const double f0 = 1681.974450955533;
    const double gainDb = 3.999843853973347;
    const double q = 0.7071752369554196;
    double k = std::tan(pi * f0 / sampleRate);
    double vh = std::pow(10.0, gainDb / 20);
    double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1 + k / q + k * k;
    Biquad f;
    f.b0 = (vh + vb * k / q + k * k) / a0;
    f.b1 = 2 * (k * k - vh) / a0;
    f.b2 = (vh - vb * k / q + k * k) / a0;
    f.a1 = 2 * (k * k - 1) / a0;
    f.a2 = (1 - k / q + k * k) / a0;
    return f;
}

Biquad lowCut() {
    const double f0 = 38.13547087602444;
    const double q = 0.5003270373238773;
    double k = std::tan(pi * f0 / sampleRate);
    double a0 = 1 + k / q + k * k;
    Biquad f;
    f.b0 = 1;
    f.b1 = -2;
    f.b2 = 1;
    f.a1 = 2 * (k * k - 1) / a0;
    f.a2 = (1 - k / q + k * k) / a0;
    return f;
}

// K-weighted signal, squared.
Signal weightedPower(const Signal& signal) {
    Biquad shelf = headShelf();
    Biquad cut = lowCut();
    Signal power(signal.size());
    for (size_t i = 0; i < signal.size(); ++i) {
        double v = cut.run(shelf.run(signal[i]));
        power[i] = v * v;
    }
    return power;
}

double loudnessOf(double meanSquare) {
    return meanSquare > 0 ? -0.691 + 10 * std::log10(meanSquare) : -1e9;
}

}  // namespace

double integratedLoudness(const Signal& signal) {
    Signal power = weightedPower(signal);
    const size_t block = static_cast<size_t>(std::lround(0.4 * sampleRate));
    const size_t step = block / 4;
    std::vector<double> blocks;
    for (size_t at = 0; at + block <= power.size(); at += step) {
        double sum = 0;
        for (size_t i = at; i < at + block; ++i) sum += power[i];
        double meanSquare = sum / static_cast<double>(block);
        if (loudnessOf(meanSquare) > silentLoudness) blocks.push_back(meanSquare);
    }
    if (blocks.empty()) return silentLoudness;
    double all = 0;
    for (double b : blocks) all += b;
    double relativeGate = loudnessOf(all / static_cast<double>(blocks.size())) - 10;
    double kept = 0;
    int count = 0;
    for (double b : blocks)
        if (loudnessOf(b) > relativeGate) kept += b, ++count;
    return loudnessOf(kept / count);
}

double windowLoudness(const Signal& signal, double start, double seconds) {
    Signal power = weightedPower(signal);
    size_t from = std::min(power.size(), static_cast<size_t>(std::lround(start * sampleRate)));
    size_t to =
        std::min(power.size(), from + static_cast<size_t>(std::lround(seconds * sampleRate)));
    if (to <= from) return silentLoudness;
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += power[i];
    return std::max(silentLoudness, loudnessOf(sum / static_cast<double>(to - from)));
}

namespace {

constexpr int oversampling = 4;
constexpr int halfTaps = 12;

// Windowed-sinc interpolation kernels for the three in-between positions.
using Kernel = std::array<double, 2 * halfTaps>;

const std::array<Kernel, oversampling>& kernels() {
    static const std::array<Kernel, oversampling> table = [] {
        std::array<Kernel, oversampling> k{};
        for (int phase = 1; phase < oversampling; ++phase) {
            double offset = static_cast<double>(phase) / oversampling;
            double sum = 0;
            for (int t = 0; t < 2 * halfTaps; ++t) {
                // Tap t weighs the sample at (t - halfTaps + 1) from the current one.
                double x = (t - halfTaps + 1) - offset;
                double sinc = std::sin(pi * x) / (pi * x);
                double w = (x + halfTaps) / (2 * halfTaps);  // 0..1 across the kernel
                double blackman = 0.42 - 0.5 * std::cos(2 * pi * w) + 0.08 * std::cos(4 * pi * w);
                k[phase][t] = sinc * blackman;
                sum += k[phase][t];
            }
            for (double& v : k[phase]) v /= sum;
        }
        return k;
    }();
    return table;
}

}  // namespace

Signal truePeakEnvelope(const Signal& signal, bool loops) {
    long n = static_cast<long>(signal.size());
    auto at = [&](long i) {
        if (loops) return signal[static_cast<size_t>(((i % n) + n) % n)];
        return i < 0 || i >= n ? 0.0 : signal[static_cast<size_t>(i)];
    };
    Signal envelope(signal.size());
    for (long i = 0; i < n; ++i) {
        double most = std::abs(signal[static_cast<size_t>(i)]);
        for (int phase = 1; phase < oversampling; ++phase) {
            double v = 0;
            const Kernel& k = kernels()[phase];
            for (int t = 0; t < 2 * halfTaps; ++t) v += k[t] * at(i + t - halfTaps + 1);
            most = std::max(most, std::abs(v));
        }
        envelope[static_cast<size_t>(i)] = most;
    }
    return envelope;
}

double truePeakDb(const Signal& signal, bool loops) {
    Signal envelope = truePeakEnvelope(signal, loops);
    double most = 0;
    for (double v : envelope) most = std::max(most, v);
    return toDb(most);
}
