#include "report.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "catalogue.h"
#include "checker.h"
#include "loudness.h"

namespace {

struct Measured {
    const SoundEntry* entry;
    double loudness;
    double truePeak;
    double smallSpeaker;  // through a 200 Hz high-pass, about what a laptop plays
    double opening;       // the first 0.4 s
};

const char* kindName(SoundKind kind) {
    switch (kind) {
        case SoundKind::effect:
            return "effect";
        case SoundKind::engine:
            return "engine";
        case SoundKind::music:
            return "music";
    }
    return "";
}

std::optional<Signal> readSound(const std::string& path, std::string& problem) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem = "missing";
        return std::nullopt;
    }
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<uint8_t> samples;
    problem = soundProblem(bytes, samples);
    if (!problem.empty()) return std::nullopt;
    Signal signal(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) signal[i] = (samples[i] - 128) / 128.0;
    return signal;
}

Measured measure(const SoundEntry& entry, Signal signal) {
    Measured m{&entry, integratedLoudness(signal), truePeakDb(signal, entry.loops), 0,
               windowLoudness(signal, 0, 0.4)};
    filterSignal(signal, highPassFilter(200), entry.loops);
    m.smallSpeaker = integratedLoudness(signal);
    return m;
}

const Measured* find(const std::vector<Measured>& all, int id) {
    for (const Measured& m : all)
        if (m.entry->id == id) return &m;
    return nullptr;
}

void printSet(const std::vector<Measured>& all) {
    double low = 1e9, high = -1e9, lowSmall = 1e9, highSmall = -1e9;
    for (const Measured& m : all) {
        if (m.entry->kind != SoundKind::effect) continue;
        low = std::min(low, m.loudness);
        high = std::max(high, m.loudness);
        lowSmall = std::min(lowSmall, m.smallSpeaker);
        highSmall = std::max(highSmall, m.smallSpeaker);
    }
    if (high >= low) {
        std::printf("effects: %.1f to %.1f LUFS, spread %.1f LU\n", low, high, high - low);
        std::printf("effects through a 200 Hz high-pass: %.1f to %.1f LUFS, spread %.1f LU\n",
                    lowSmall, highSmall, highSmall - lowSmall);
    }
    const Measured* start = find(all, 146);
    const Measured* title = find(all, 143);
    if (start && title)
        std::printf("start sound's first 0.4 s over the title music: %+.1f LU\n",
                    start->opening - title->loudness);
}

}  // namespace

int printLoudnessReport(const std::string& dir) {
    std::printf("%-4s %-24s %-6s %7s %7s %7s %9s %8s\n", "id", "sound", "kind", "LUFS", "target",
                "dBTP", ">200 Hz", "0-0.4 s");
    std::vector<Measured> all;
    int result = 0;
    for (const SoundEntry& entry : soundCatalogue()) {
        std::string path = dir + "/" + std::to_string(entry.id) + ".wav";
        std::string problem;
        std::optional<Signal> signal = readSound(path, problem);
        if (!signal) {
            std::printf("%-4d %-24s %s: %s\n", entry.id, entry.what, path.c_str(), problem.c_str());
            result = 1;
            continue;
        }
        all.push_back(measure(entry, std::move(*signal)));
        const Measured& m = all.back();
        std::printf("%-4d %-24.24s %-6s %7.1f %7.1f %7.1f %9.1f %8.1f\n", entry.id, entry.what,
                    kindName(entry.kind), m.loudness, targetLoudness(entry.kind), m.truePeak,
                    m.smallSpeaker, m.opening);
    }
    printSet(all);
    return result;
}
