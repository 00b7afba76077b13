#pragma once
// The twelve sounds in their buffers, and the 3D set-up made once at start-up.

#include "platform/platform.h"

using platform::SoundBuffer;

constexpr int soundCount = 12;
// The WAVE resource id of each buffer.
constexpr int soundOrder[soundCount] = {140, 147, 143, 144, 142, 148, 146, 145, 141, 149, 166, 168};

extern SoundBuffer* soundBuffers[soundCount];
extern SoundBuffer* primaryBuffer;
extern platform::Listener3D* listener3D;
extern platform::Buffer3D* buffer3D;

// Each sound is named after its WAVE id.
inline SoundBuffer*& snd140 = soundBuffers[0];   // an orb is launched
inline SoundBuffer*& snd147 = soundBuffers[1];   // the helicopter is hit
inline SoundBuffer*& snd143 = soundBuffers[2];   // title music, looping
inline SoundBuffer*& snd144 = soundBuffers[3];   // mission complete
inline SoundBuffer*& snd142 = soundBuffers[4];   // rotor beat during play, looping
inline SoundBuffer*& snd148 = soundBuffers[5];   // failure music, looping
inline SoundBuffer*& snd146 = soundBuffers[6];   // start
inline SoundBuffer*& snd145 = soundBuffers[7];   // crusher slam
inline SoundBuffer*& snd141 = soundBuffers[8];   // victory music, looping
inline SoundBuffer*& snd149 = soundBuffers[9];   // pick-up
inline SoundBuffer*& snd166 = soundBuffers[10];  // explosion
inline SoundBuffer*& snd168 = soundBuffers[11];  // rocket launch

// Each returns 1, or 0 after storing its reason in errorMessage.
int loadSoundBuffers();
int createPrimaryBuffer();
int query3DBuffer();
int set3DParameters();

// Releases the 3D interfaces, the twelve buffers and the primary buffer.
void releaseSoundBuffers();
// "snd142" for snd142, "?" for anything else.
const char* soundName(const SoundBuffer* buffer);
