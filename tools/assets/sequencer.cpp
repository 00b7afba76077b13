#include "sequencer.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

std::vector<Note> tune(std::string_view text, double startBeat, double velocity) {
    std::vector<Note> notes;
    double beat = startBeat;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i >= text.size()) break;
        size_t end = text.find_first_of(" \t\n", i);
        std::string token(
            text.substr(i, end == std::string_view::npos ? text.size() - i : end - i));
        i = end == std::string_view::npos ? text.size() : end;

        size_t slash = token.find('/');
        double beats = slash == std::string::npos ? 1.0 : std::atof(token.c_str() + slash + 1);
        std::string name = token.substr(0, slash);
        if (name != "r") {
            static const int offsets[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
            int semitone = offsets[std::tolower(name[0]) - 'a'];
            size_t at = 1;
            if (at < name.size() && name[at] == '#')
                ++semitone, ++at;
            else if (at < name.size() && name[at] == 'b')
                --semitone, ++at;
            int octave = std::atoi(name.c_str() + at);
            notes.push_back(
                {beat, beats, static_cast<double>(12 * (octave + 1) + semitone), velocity});
        }
        beat += beats;
    }
    return notes;
}

std::vector<Note> transposed(std::vector<Note> notes, double semitones) {
    for (Note& n : notes) n.pitch += semitones;
    return notes;
}

void playNotes(Signal& song, const std::vector<Note>& notes, double samplesPerBeat,
               const Instrument& instrument, double gain, bool wrap) {
    for (const Note& n : notes) {
        Signal voice =
            instrument(midiToHz(n.pitch), n.beats * samplesPerBeat / sampleRate, n.velocity);
        mixInto(song, voice, std::lround(n.beat * samplesPerBeat), gain, wrap);
    }
}

namespace {

// Room for the release after the held time.
Signal voiceBuffer(double seconds, double release) {
    return Signal(static_cast<size_t>((seconds + release) * sampleRate) + 1, 0.0);
}

}  // namespace

Signal leadVoice(double hz, double seconds, double velocity) {
    Signal out = voiceBuffer(seconds, 0.15);
    OnePole tone;
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        // Vibrato creeps in on held notes, as a player would add it.
        double vibrato = 1 + 0.006 * std::min(1.0, t / 0.3) * sine(t * 5.5);
        double step = hz * vibrato / sampleRate;
        phase += step;
        double v = pulse(phase, step, 0.5) * 0.6 + pulse(phase * 1.003, step, 0.25) * 0.4;
        out[i] = tone.run(v, 2400 + 1200 * velocity) * adsr(t, seconds, 0.01, 0.12, 0.7, 0.12) *
                 velocity;
    }
    return out;
}

Signal brassVoice(double hz, double seconds, double velocity) {
    Signal out = voiceBuffer(seconds, 0.12);
    OnePole tone;
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        double step = hz / sampleRate;
        phase += step;
        double env = adsr(t, seconds, 0.03, 0.15, 0.75, 0.1);
        double cutoff = 500 + 3500 * env * velocity;
        out[i] = tone.run(saw(phase, step) + 0.5 * saw(phase * 1.005, step), cutoff) * env *
                 velocity * 0.7;
    }
    return out;
}

Signal bassVoice(double hz, double seconds, double velocity) {
    Signal out = voiceBuffer(seconds, 0.08);
    OnePole tone;
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        double step = hz / sampleRate;
        phase += step;
        double env = adsr(t, seconds, 0.005, 0.25, 0.55, 0.06);
        double cutoff = 200 + 1400 * decayEnvelope(t, 0.08);
        out[i] = tone.run(saw(phase, step) * 0.6 + triangle(phase) * 0.8, cutoff) * env * velocity;
    }
    return out;
}

Signal padVoice(double hz, double seconds, double velocity) {
    Signal out = voiceBuffer(seconds, 0.6);
    OnePole tone;
    double phases[3] = {0, 0.33, 0.67};
    const double detune[3] = {1.0, 1.004, 0.9965};
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        double v = 0;
        for (int k = 0; k < 3; ++k) {
            double step = hz * detune[k] / sampleRate;
            phases[k] += step;
            v += saw(phases[k], step);
        }
        out[i] = tone.run(v / 3, 1100) * adsr(t, seconds, 0.35, 0.3, 0.8, 0.55) * velocity;
    }
    return out;
}

Signal bellVoice(double hz, double seconds, double velocity) {
    Signal out = voiceBuffer(seconds, 1.2);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        double modulator = sine(hz * 3.5 * t) * 2.2 * decayEnvelope(t, 0.25);
        out[i] = std::sin(2 * pi * hz * t + modulator) * decayEnvelope(t, 0.45) *
                 std::min(1.0, t / 0.002) * velocity;
    }
    return out;
}

Signal kickDrum(double, double, double velocity) {
    Signal out(static_cast<size_t>(0.3 * sampleRate), 0.0);
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        phase += (48 + 110 * decayEnvelope(t, 0.03)) / sampleRate;
        out[i] = sine(phase) * decayEnvelope(t, 0.11) * std::min(1.0, t / 0.001) * velocity;
    }
    return out;
}

Signal snareDrum(double, double, double velocity) {
    Signal out(static_cast<size_t>(0.25 * sampleRate), 0.0);
    Rng rng{0x5EA4E};
    StateVariable filter;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        filter.run(bipolar(rng), 3000, 0.8);
        double body = sine(185 * t) * decayEnvelope(t, 0.04);
        out[i] = (filter.band * 0.9 * decayEnvelope(t, 0.07) + body * 0.5) * velocity;
    }
    return out;
}

Signal hiHat(double, double seconds, double velocity) {
    Signal out(static_cast<size_t>((0.03 + seconds * 0.2) * sampleRate), 0.0);
    Rng rng{0x4A7};
    StateVariable filter;
    double decay = 0.015 + seconds * 0.05;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = i / sampleRate;
        filter.run(bipolar(rng), 3600, 0.7);
        out[i] = filter.high * decayEnvelope(t, decay) * velocity * 0.5;
    }
    return out;
}
