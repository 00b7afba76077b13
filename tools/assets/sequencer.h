#pragma once
// A small note sequencer for the game's music: tunes written as text,
// played by simple synthesised instruments into a song buffer.

#include <functional>
#include <string_view>
#include <vector>

#include "synth.h"

struct Note {
    double beat = 0;    // when it starts
    double beats = 1;   // how long it is held
    double pitch = 60;  // MIDI note number
    double velocity = 1;
};

// "c4/1 e4/0.5 g#4/0.5 r/2": name with optional sharp (#) or flat (b),
// octave, then length in beats; "r" is a rest. Starts at `startBeat`.
std::vector<Note> tune(std::string_view text, double startBeat = 0, double velocity = 1);

// The same tune shifted by `semitones`.
std::vector<Note> transposed(std::vector<Note> notes, double semitones);

// An instrument renders one note: frequency, held time in seconds, velocity.
using Instrument = std::function<Signal(double hz, double seconds, double velocity)>;

// Plays the notes into `song`. With `wrap` a note ringing past the end
// continues at the start, which keeps looping music seamless.
void playNotes(Signal& song, const std::vector<Note>& notes, double samplesPerBeat,
               const Instrument& instrument, double gain, bool wrap);

// Instruments of the game's small synth band.
Signal leadVoice(double hz, double seconds, double velocity);   // soft square with vibrato
Signal brassVoice(double hz, double seconds, double velocity);  // bright filtered saw
Signal bassVoice(double hz, double seconds, double velocity);   // round plucked bass
Signal padVoice(double hz, double seconds, double velocity);    // slow detuned strings
Signal bellVoice(double hz, double seconds, double velocity);   // FM bell
Signal kickDrum(double hz, double seconds, double velocity);
Signal snareDrum(double hz, double seconds, double velocity);
Signal hiHat(double hz, double seconds, double velocity);
