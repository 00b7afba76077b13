#include "mastering.h"

#include <algorithm>
#include <cmath>

#include "loudness.h"

namespace {

size_t wrapped(long i, long n, bool loops) {
    if (loops) return static_cast<size_t>(((i % n) + n) % n);
    return static_cast<size_t>(std::clamp(i, 0L, n - 1));
}

// The smallest value within `radius` samples either side.
Signal windowMinimum(const Signal& values, long radius, bool loops) {
    long n = static_cast<long>(values.size());
    Signal out(values.size());
    for (long i = 0; i < n; ++i) {
        double least = values[static_cast<size_t>(i)];
        for (long d = -radius; d <= radius; ++d)
            least = std::min(least, values[wrapped(i + d, n, loops)]);
        out[static_cast<size_t>(i)] = least;
    }
    return out;
}

// The mean within `radius` samples either side.
Signal windowMean(const Signal& values, long radius, bool loops) {
    long n = static_cast<long>(values.size());
    Signal out(values.size());
    double sum = 0;
    for (long d = -radius; d <= radius; ++d) sum += values[wrapped(d, n, loops)];
    for (long i = 0; i < n; ++i) {
        out[static_cast<size_t>(i)] = sum / static_cast<double>(2 * radius + 1);
        sum += values[wrapped(i + radius + 1, n, loops)] - values[wrapped(i - radius, n, loops)];
    }
    return out;
}

// A peak limiter that looks ahead 2 ms and lets go over 80 ms. The gain
// at each sample is a mean of gains each no higher than that sample needs,
// so no peak passes the ceiling and the gain never jumps.
void limitPeaks(Signal& signal, double ceiling, bool loops) {
    Signal peaks = truePeakEnvelope(signal, loops);
    Signal need(signal.size());
    bool any = false;
    for (size_t i = 0; i < signal.size(); ++i) {
        need[i] = peaks[i] > ceiling ? ceiling / peaks[i] : 1.0;
        any = any || need[i] < 1;
    }
    if (!any) return;
    const long radius = std::lround(0.002 * sampleRate);
    Signal held = windowMinimum(need, radius, loops);
    const double recovery = 1 - std::exp(-1 / (0.08 * sampleRate));
    double gain = 1;
    for (int turn = 0; turn < (loops ? 2 : 1); ++turn)
        for (double& g : held) {
            gain = std::min(g, gain + (1 - gain) * recovery);
            g = gain;
        }
    Signal smooth = windowMean(held, radius, loops);
    for (size_t i = 0; i < signal.size(); ++i) signal[i] *= smooth[i];
}

}  // namespace

void levelByLoudness(Signal& signal, double loudness, double ceilingDb, bool loops) {
    const Signal dry = signal;
    double measured = integratedLoudness(dry);
    if (measured <= silentLoudness) return;
    double gain = fromDb(loudness - measured);
    // A little headroom for the limiter's own smoothing and the dither.
    double ceiling = fromDb(ceilingDb - 0.2);
    for (int round = 0; round < 12; ++round) {
        for (size_t i = 0; i < signal.size(); ++i) signal[i] = dry[i] * gain;
        limitPeaks(signal, ceiling, loops);
        double off = loudness - integratedLoudness(signal);
        if (std::abs(off) < 0.02) break;
        gain *= fromDb(off);
    }
    double over = truePeakDb(signal, loops) - ceilingDb;
    if (over > 0)
        for (double& v : signal) v *= fromDb(-over);
}

void gateSilence(Signal& signal, bool loops) {
    const double threshold = fromDb(-60);
    const long reach = std::lround(0.01 * sampleRate);
    const long ramp = std::lround(0.003 * sampleRate);
    long n = static_cast<long>(signal.size());
    // Distance of every sample from the nearest one above the threshold.
    std::vector<long> distance(signal.size(), reach + 1);
    long last = -(reach + 1);
    long turns = loops ? 2 : 1;
    for (long k = 0; k < turns * n; ++k) {
        size_t i = static_cast<size_t>(k % n);
        if (std::abs(signal[i]) > threshold) last = k;
        distance[i] = std::min(distance[i], k - last);
    }
    last = turns * n + reach + 1;
    for (long k = turns * n - 1; k >= 0; --k) {
        size_t i = static_cast<size_t>(k % n);
        if (std::abs(signal[i]) > threshold) last = k;
        distance[i] = std::min(distance[i], last - k);
    }
    for (size_t i = 0; i < signal.size(); ++i) {
        double gain = std::clamp(static_cast<double>(reach - distance[i]) / ramp, 0.0, 1.0);
        signal[i] *= gain;
    }
}

void master(Signal& signal, double loudness, bool loops) {
    filterSignal(signal, highPassFilter(20), loops);
    levelByLoudness(signal, loudness, peakCeilingDb, loops);
    gateSilence(signal, loops);
}
