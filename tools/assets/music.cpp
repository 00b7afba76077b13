// The game's music, played by the small synth band in sequencer.cpp. The
// looping pieces are written so their last bar rings over into the first.
#include <cmath>
#include <string>

#include "catalogue.h"
#include "sequencer.h"

namespace {

// Every piece is built the same way: parts at their levels, then the mix.
struct Part {
    std::vector<Note> notes;
    Instrument instrument;
    double gain;
};

Signal render(int samples, double beats, const std::vector<Part>& parts, bool loops) {
    Signal song(static_cast<size_t>(samples), 0.0);
    double samplesPerBeat = samples / beats;
    for (const Part& part : parts)
        playNotes(song, part.notes, samplesPerBeat, part.instrument, part.gain, loops);
    return song;
}

std::vector<Note> repeated(const std::vector<Note>& bar, double barBeats, int times) {
    std::vector<Note> out;
    for (int i = 0; i < times; ++i)
        for (Note n : bar) {
            n.beat += i * barBeats;
            out.push_back(n);
        }
    return out;
}

// Drums for `bars` bars of four beats: kick on one and three, snare on two
// and four, hats on the off-beats.
std::vector<Part> drumKit(int bars, double level) {
    std::vector<Note> kicks, snares, hats;
    for (int bar = 0; bar < bars; ++bar) {
        double b = bar * 4.0;
        kicks.push_back({b, 0.5, 36, 1});
        kicks.push_back({b + 2, 0.5, 36, 1});
        snares.push_back({b + 1, 0.5, 38, 0.8});
        snares.push_back({b + 3, 0.5, 38, 0.8});
        for (int i = 0; i < 8; ++i) hats.push_back({b + i * 0.5, 0.2, 42, i % 2 ? 0.7 : 0.4});
    }
    return {{kicks, kickDrum, level}, {snares, snareDrum, level * 0.6}, {hats, hiHat, level * 0.5}};
}

Sound finish(int id, Signal song, bool loops) {
    if (!loops) fadeEnds(song, 16, static_cast<int>(song.size() / 10));
    return {id, std::move(song)};
}

// Title: a one-bar groove in A minor that loops under the credits as long
// as the player likes. No tune sits on top to be heard twenty times over:
// the bass riff, off-beat chord stabs and a busy kit carry it, and the chord
// turns to G on the last beat so every bar leans into the next.
Sound titleMusic() {
    std::vector<Note> stabs;
    for (double beat : {0.5, 1.5, 2.25}) {
        for (double pitch : {57, 60, 64}) stabs.push_back({beat, 0.25, pitch, 0.9});
    }
    for (double pitch : {55, 59, 62}) stabs.push_back({3.0, 0.5, pitch, 0.8});
    for (double pitch : {55, 59, 62}) stabs.push_back({3.75, 0.25, pitch, 0.6});
    std::vector<Note> kicks = {
        {0, 0.5, 36, 1}, {1.75, 0.25, 36, 0.7}, {2, 0.5, 36, 1}, {3.5, 0.25, 36, 0.6}};
    std::vector<Note> snares = {
        {1, 0.5, 38, 0.8}, {3, 0.5, 38, 0.8}, {2.75, 0.25, 38, 0.25}, {3.75, 0.25, 38, 0.3}};
    std::vector<Note> hats;
    for (int i = 0; i < 16; ++i) {
        // Accents on the off-beats, ghosted sixteenths between, one open hat.
        double velocity = i % 4 == 2 ? 0.75 : i % 2 ? 0.3 : 0.45;
        hats.push_back({i * 0.25, i == 10 ? 1.0 : 0.1, 42, velocity});
    }
    std::vector<Part> parts = {
        {tune("a2/0.75 a2/0.25 r/0.5 a3/0.25 a2/0.25 r/0.25 c3/0.25 a2/0.5 g2/0.5 g3/0.25 b2/0.25"),
         bassVoice, 0.9},
        {stabs, brassVoice, 0.22},
        {{{0, 4, 57, 0.5}, {0, 4, 60, 0.5}, {0, 4, 64, 0.5}}, padVoice, 0.3},
        {kicks, kickDrum, 0.8},
        {snares, snareDrum, 0.5},
        {hats, hiHat, 0.4},
    };
    Signal song = render(33664, 4, parts, true);
    return finish(143, std::move(song), true);
}

// Victory: a bright march in C major, eight bars round and round.
Sound victoryMusic() {
    const char* melody =
        "g4/0.5 c5/0.5 e5/1 d5/0.5 c5/0.5 d5/1 "
        "e5/0.5 f5/0.5 g5/1 e5/1 c5/1 "
        "a4/0.5 c5/0.5 f5/1 e5/0.5 d5/0.5 c5/1 "
        "d5/0.5 e5/0.5 d5/0.5 b4/0.5 g4/2 "
        "g4/0.5 c5/0.5 e5/1 d5/0.5 c5/0.5 d5/1 "
        "e5/0.5 f5/0.5 g5/1 a5/1 g5/1 "
        "f5/0.5 e5/0.5 d5/1 g5/0.5 f5/0.5 e5/0.5 d5/0.5 "
        "c5/3 r/1";
    const char* bass =
        "c3/1 g2/1 c3/1 g2/1 c3/1 g2/1 c3/1 e3/1 f2/1 c3/1 f2/1 c3/1 g2/1 d3/1 g2/1 b2/1 "
        "c3/1 g2/1 c3/1 g2/1 c3/1 g2/1 a2/1 a2/1 f2/1 f2/1 g2/1 g2/1 c3/1 g2/1 c3/1 c3/1";
    std::vector<Part> parts = {
        {tune(melody), brassVoice, 0.45},
        {transposed(tune(melody), -12), leadVoice, 0.12},
        {tune(bass), bassVoice, 0.8},
        {tune("e4/8 f4/4 d4/4 e4/8 f4/4 e4/4", 0, 0.6), padVoice, 0.3},
        {tune("g4/8 a4/4 g4/4 g4/8 a4/4 g4/4", 0, 0.6), padVoice, 0.3},
    };
    for (Part& drums : drumKit(8, 0.7)) parts.push_back(drums);
    Signal song = render(330843, 32, parts, true);
    loopEcho(song, 330843 / 32 * 3 / 4, 0.25, 2);
    return finish(141, std::move(song), true);
}

// Failure: a slow lament in A minor, bells over dark strings.
Sound failureMusic() {
    const char* bells =
        "e5/2 c5/1 b4/1 a4/3 r/1 f5/2 e5/1 d5/1 e5/3 r/1 "
        "d5/2 c5/1 a4/1 b4/2 g#4/2 a4/4 r/4";
    std::vector<Part> parts = {
        {tune(bells), bellVoice, 0.35},
        {tune("a2/4 f2/4 d2/4 e2/4 a2/4 f2/4 e2/4 a2/4"), bassVoice, 0.5},
        {tune("a3/4 a3/4 a3/4 g#3/4 a3/4 a3/4 g#3/4 a3/4", 0, 0.7), padVoice, 0.25},
        {tune("c4/4 c4/4 d4/4 b3/4 c4/4 c4/4 b3/4 c4/4", 0, 0.7), padVoice, 0.25},
        {tune("e4/4 f4/4 f4/4 e4/4 e4/4 f4/4 e4/4 e4/4", 0, 0.7), padVoice, 0.25},
    };
    Signal song = render(524167, 32, parts, true);
    loopEcho(song, 524167 / 32 * 3 / 2, 0.35, 3);
    return finish(148, std::move(song), true);
}

// Mission complete: a short fanfare that ends on a held chord.
Sound missionJingle() {
    std::vector<Part> parts = {
        {tune("g4/0.33 c5/0.33 e5/0.34 g5/1 e5/0.5 g5/2.5"), brassVoice, 0.5},
        {tune("r/1 e4/0.5 g4/0.5 c5/3"), brassVoice, 0.3},
        {tune("c3/0.5 c3/0.5 g2/0.5 g2/0.5 c3/3"), bassVoice, 0.7},
        {tune("r/1 c4/4", 0, 0.6), padVoice, 0.3},
        {tune("r/1 g4/4", 0, 0.6), padVoice, 0.3},
        {{{0, 0.5, 36, 1}, {1, 0.5, 36, 1}, {2, 0.5, 36, 0.8}}, kickDrum, 0.7},
        {repeated({{0, 0.1, 38, 0.5}}, 0.125, 8), snareDrum, 0.4},
    };
    Signal song = render(91030, 6, parts, false);
    return finish(144, std::move(song), false);
}

}  // namespace

void addMusic(std::vector<Sound>& out) {
    out.push_back(titleMusic());
    out.push_back(victoryMusic());
    out.push_back(failureMusic());
    out.push_back(missionJingle());
}
