// Sound effects: short one-shots that start and end in silence, and the
// rotor beat that loops under the whole game.
#include <cmath>

#include "catalogue.h"
#include "formats/resource_ids.h"
#include "synth.h"

namespace {

Signal silence(int samples) {
    return Signal(static_cast<size_t>(samples), 0.0);
}

// Finishing touches every one-shot gets before mastering sets its level:
// clean ends, and with a `drive` a denser body for the short bangs.
Sound oneShot(int id, Signal s, double drive = 0) {
    normalise(s, 1.0);
    if (drive > 0)
        for (double& v : s) v = softClip(v * drive) / softClip(drive);
    fadeEnds(s, 32, static_cast<int>(s.size() / 12));
    return {id, std::move(s)};
}

// The orb leaves the launcher with a rising electric zap.
Signal orbLaunch(int n) {
    Signal s = silence(n);
    Rng rng{140};
    OnePole hiss;
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = i / sampleRate;
        double hz = 180 + 1400 * (1 - std::exp(-t / 0.25));
        phase += hz / sampleRate;
        double wobble = sine(t * 31) * 0.3;
        double tone = std::sin(2 * pi * phase + wobble + 1.5 * sine(phase * 2.01));
        double noise = hiss.run(bipolar(rng), 2500) * decayEnvelope(t, 0.08);
        s[i] = (tone * 0.7 + noise * 1.2) * adsr(t, 0.35, 0.01, 0.1, 0.7, 0.7);
    }
    return s;
}

// Something strikes the helicopter: a metallic clank over a dull thud.
Signal hit(int n) {
    Signal s = silence(n);
    Rng rng{147};
    StateVariable grit;
    const double partials[] = {417, 1123, 1764, 2631};
    for (int i = 0; i < n; ++i) {
        double t = i / sampleRate;
        double ring = 0;
        for (int k = 0; k < 4; ++k)
            ring += std::sin(2 * pi * partials[k] * t) * decayEnvelope(t, 0.22 / (k + 1)) / (k + 1);
        grit.run(bipolar(rng), 1800, 1.2);
        double thud =
            std::sin(2 * pi * (60 + 80 * decayEnvelope(t, 0.02)) * t) * decayEnvelope(t, 0.09);
        s[i] = ring * 0.6 + grit.band * decayEnvelope(t, 0.05) * 1.5 + thud;
    }
    return s;
}

// The crusher slams shut. A boom from 100 Hz down to 70 Hz would all
// but vanish on a laptop speaker, so the boom alone is driven into
// saturation: its second and third harmonics let a small speaker suggest the
// low note. Then the longer crunch of what is caught, and the ring of steel.
Signal crusherSlam(int n) {
    Signal s = silence(n);
    Rng rng{145};
    StateVariable crunchBand;
    StateVariable clickBand;
    const double grainFade = std::exp(-1 / (0.005 * sampleRate));
    double phase = 0;
    double grain = 0;
    for (int i = 0; i < n; ++i) {
        double t = i / sampleRate;
        phase += (70 + 30 * decayEnvelope(t, 0.09)) / sampleRate;
        double level = decayEnvelope(t, 0.25) * std::min(1.0, t / 0.002);
        double raw = sine(phase) * level;
        // The square minus its own mean adds the octave without a DC shift;
        // the tanh adds the twelfth.
        double boom = std::tanh(2.2 * (raw + 0.45 * (raw * raw - 0.5 * level * level)));
        // The crunch: grains of breaking material, thinning out over 0.4 s.
        if (uniform(rng) < 0.004 * decayEnvelope(t, 0.25)) grain = 0.5 + 0.5 * uniform(rng);
        grain *= grainFade;
        crunchBand.run(bipolar(rng), 1300 + 900 * decayEnvelope(t, 0.1), 0.9);
        double crunch = crunchBand.band * (grain + 0.7 * decayEnvelope(t, 0.12));
        clickBand.run(bipolar(rng), 2600, 0.7);
        double click = clickBand.band * decayEnvelope(t, 0.005);
        double ring = (std::sin(2 * pi * 731 * t) + 0.6 * std::sin(2 * pi * 1187 * t) +
                       0.3 * std::sin(2 * pi * 1873 * t)) *
                      decayEnvelope(t, 0.4);
        s[i] = boom * 0.6 + crunch * 3 + click * 1.5 + ring * 0.2;
    }
    return s;
}

// Space on the title: the starter catches with a crack, the engine fires and
// the rotor winds up to the speed of the rotor beat. The first blade pass
// follows the crack at once, so the start is heard over the title music
// from its first moment, not half a second later.
Signal start(int n) {
    Signal s = silence(n);
    Rng rng{146};
    OnePole chop;
    OnePole starterTone;
    StateVariable crack;
    // A pass peaks where the phase is a quarter cycle: the first one 20 ms in.
    double rotorPhase = 0.2;
    double whinePhase = 0;
    double starterPhase = 0;
    for (int i = 0; i < n; ++i) {
        double t = i / sampleRate;
        double spin = clamp01(t / 2.2);
        rotorPhase += (2.5 + 8.3 * spin) / sampleRate;
        whinePhase += (260 + 860 * spin * spin) / sampleRate;
        double pass = std::pow(0.5 + 0.5 * sine(rotorPhase), 8);
        double thump = chop.run(bipolar(rng), 900) * pass * 3 + sine(rotorPhase * 9) * pass * 0.5;
        crack.run(bipolar(rng), 2800, 0.8);
        double ignition =
            crack.band * decayEnvelope(t, 0.006) * 2 + sine(150 * t) * decayEnvelope(t, 0.03);
        // The starter motor whirs up and hands over to the turbine.
        double starterHz = 140 + 260 * clamp01(t / 0.7);
        starterPhase += starterHz / sampleRate;
        double starter = starterTone.run(pulse(starterPhase, starterHz / sampleRate, 0.3), 1800) *
                         (1 - smoothStep(0.6, 1.4, t)) * 0.35;
        double whine =
            (sine(whinePhase) + 0.3 * sine(whinePhase * 2.003)) * 0.25 * smoothStep(0, 0.4, t);
        s[i] = thump + ignition + starter + whine;
    }
    return s;
}

// A man climbs aboard: a bright rising chime.
Signal pickUp(int n) {
    Signal s = silence(n);
    const double notes[] = {72, 76, 79, 84};
    for (int k = 0; k < 4; ++k) {
        double hz = midiToHz(notes[k]);
        int begin = k * 1800;
        for (int i = begin; i < n; ++i) {
            double t = (i - begin) / sampleRate;
            s[i] += (sine(hz * t) + 0.3 * sine(hz * 2 * t)) * decayEnvelope(t, 0.18) *
                    std::min(1.0, t / 0.003);
        }
    }
    return s;
}

// The helicopter blows up: a blast of noise that rolls off into rumble.
Signal explosion(int n) {
    Signal s = silence(n);
    Rng rng{166};
    OnePole blast;
    OnePole rumble;
    OnePole rumble2;
    for (int i = 0; i < n; ++i) {
        double t = i / sampleRate;
        double white = bipolar(rng);
        double bright =
            blast.run(white, 150 + 5000 * decayEnvelope(t, 0.18)) * decayEnvelope(t, 0.5);
        double deep = rumble2.run(rumble.run(white, 120), 90) * 6 * decayEnvelope(t, 1.1);
        double crackle = (uniform(rng) < 0.002 * decayEnvelope(t, 0.6)) ? bipolar(rng) * 0.8 : 0.0;
        s[i] = bright * 1.6 + deep + crackle;
    }
    return s;
}

// A rocket bursts out of the sea: a roar whose pitch climbs as it rises.
Signal rocketLaunch(int n) {
    Signal s = silence(n);
    Rng rng{168};
    StateVariable roar;
    for (int i = 0; i < n; ++i) {
        double t = i / sampleRate;
        roar.run(bipolar(rng), 300 + 2600 * clamp01(t / 1.1), 2.5);
        s[i] = (roar.band + roar.low * 0.4) * adsr(t, 0.8, 0.06, 0.2, 0.8, 0.5);
    }
    return s;
}

// The rotor beat: blade passes at a steady rate over the turbine's whine,
// each pass with the hiss of the blade tips, which also keeps the top of the
// band clear of the 8-bit dither.
// Every part repeats a whole number of times in the loop, so it never clicks.
Signal rotorBeat(int n) {
    constexpr int passes = 28;
    int period = n / passes;
    int fade = 2048;
    Signal air = silence(n + fade);
    Signal swish = silence(n + fade);
    Rng rng{142};
    OnePole wind;
    OnePole wind2;
    OnePole body;
    OnePole top;
    for (size_t i = 0; i < air.size(); ++i) {
        double white = bipolar(rng);
        air[i] = wind2.run(wind.run(white, 900), 700) * 1.2;
        // What is left above 3 kHz: the hiss of the blade tips.
        swish[i] = top.run(white - body.run(white, 3000), 8000);
    }
    Signal s = foldIntoLoop(air, static_cast<size_t>(n), static_cast<size_t>(fade));
    Signal tips = foldIntoLoop(swish, static_cast<size_t>(n), static_cast<size_t>(fade));
    for (int i = 0; i < n; ++i) {
        // Beats fall mid-period, so the loop point sits in a quiet moment.
        double cycle = static_cast<double>((i + period / 2) % period) / period;
        double pass = (1 - std::exp(-cycle * 60)) * std::exp(-cycle * 8);
        double phase = static_cast<double>(i) / n;
        // Frequencies as whole cycles per loop.
        double thump = std::sin(2 * pi * phase * 180) * pass;
        double whine =
            std::sin(2 * pi * phase * 1560) * 0.05 + std::sin(2 * pi * phase * 3125) * 0.02;
        s[i] = s[i] * (0.3 + 1.4 * pass) + tips[i] * (0.08 + 0.4 * pass) + thump * 0.8 + whine;
    }
    normalise(s, 0.7);
    return s;
}

}  // namespace

void addEffects(std::vector<Sound>& out) {
    out.push_back(oneShot(resource::wavOrbLaunch, orbLaunch(24576)));
    out.push_back(oneShot(resource::wavMetalHit, hit(18432), 3.0));
    out.push_back(oneShot(resource::wavCrusherSlam, crusherSlam(24910)));
    out.push_back(oneShot(resource::wavStart, start(61879)));
    out.push_back(oneShot(resource::wavPickUp, pickUp(15584)));
    out.push_back(oneShot(resource::wavExplosion, explosion(79616), 3.0));
    out.push_back(oneShot(resource::wavRocketLaunch, rocketLaunch(29644)));
    out.push_back({resource::wavRotorLoop, rotorBeat(57344)});
}
