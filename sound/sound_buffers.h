#pragma once
// The twelve sounds in their buffers, and the 3D set-up made once at start-up.

#include "platform/platform.h"

using platform::SoundBuffer;

constexpr int soundCount = 12;
// The WAVE resource id of each buffer.
constexpr int soundOrder[soundCount] = {140, 147, 143, 144, 142, 148, 146, 145, 141, 149, 166, 168};

extern platform::SoundDevice* directSound;
extern SoundBuffer* soundBuffers[soundCount];
extern SoundBuffer* primaryBuffer;
extern platform::Listener3D* listener3D;
extern platform::Buffer3D* buffer3D;

// The catalogue: each handle says what it plays, with the WAVE resource it
// is loaded from beside it (soundOrder gives the same ids in buffer order).
inline SoundBuffer*& sndOrbLaunch = soundBuffers[0];        // 140, an orb missile is launched
inline SoundBuffer*& sndMetalHit = soundBuffers[1];         // 147, an orb or a crusher hits
inline SoundBuffer*& sndTitleMusic = soundBuffers[2];       // 143, looping on the title
inline SoundBuffer*& sndMissionComplete = soundBuffers[3];  // 144, a man reaches the base
inline SoundBuffer*& sndRotorLoop = soundBuffers[4];        // 142, looping during play
inline SoundBuffer*& sndFailureMusic = soundBuffers[5];     // 148, looping on the lost picture
inline SoundBuffer*& sndStart = soundBuffers[6];            // 146, Space on the title
inline SoundBuffer*& sndCrusherSlam = soundBuffers[7];      // 145, a crusher hits bottom
inline SoundBuffer*& sndVictoryMusic = soundBuffers[8];     // 141, looping on the won picture
inline SoundBuffer*& sndPickUp = soundBuffers[9];           // 149, a man climbs aboard
inline SoundBuffer*& sndExplosion = soundBuffers[10];       // 166, a rocket hit or the crash
inline SoundBuffer*& sndRocketLaunch = soundBuffers[11];    // 168, the submarine fires

// Each returns 1, or 0 after storing its reason in errorMessage.
int loadSoundBuffers();
int createPrimaryBuffer();
int query3DBuffer();
int set3DParameters();

// Releases the 3D interfaces, the twelve buffers and the primary buffer.
void releaseSoundBuffers();
// "snd" and the WAVE id ("snd142" for the rotor loop), as the tools print
// it; "?" for anything else.
const char* soundName(const SoundBuffer* buffer);
