#pragma once
// The twelve sounds in their buffers, and the 3D set-up made once at start-up.

#include "formats/resource_ids.h"
#include "platform/platform.h"

using platform::SoundBuffer;

constexpr int soundCount = 12;
// The WAVE resource id of each buffer.
constexpr int soundOrder[soundCount] = {
    resource::wavOrbLaunch,       resource::wavMetalHit,    resource::wavTitleMusic,
    resource::wavMissionComplete, resource::wavRotorLoop,   resource::wavFailureMusic,
    resource::wavStart,           resource::wavCrusherSlam, resource::wavVictoryMusic,
    resource::wavPickUp,          resource::wavExplosion,   resource::wavRocketLaunch};

extern platform::SoundDevice* directSound;
extern SoundBuffer* soundBuffers[soundCount];
extern SoundBuffer* primaryBuffer;
extern platform::Listener3D* listener3D;
extern platform::Buffer3D* buffer3D;

// The catalogue: each handle is the buffer of the WAVE resource of the same
// name (resource_ids.h says what each plays), in soundOrder's order.
inline SoundBuffer*& sndOrbLaunch = soundBuffers[0];
inline SoundBuffer*& sndMetalHit = soundBuffers[1];
inline SoundBuffer*& sndTitleMusic = soundBuffers[2];
inline SoundBuffer*& sndMissionComplete = soundBuffers[3];
inline SoundBuffer*& sndRotorLoop = soundBuffers[4];
inline SoundBuffer*& sndFailureMusic = soundBuffers[5];
inline SoundBuffer*& sndStart = soundBuffers[6];
inline SoundBuffer*& sndCrusherSlam = soundBuffers[7];
inline SoundBuffer*& sndVictoryMusic = soundBuffers[8];
inline SoundBuffer*& sndPickUp = soundBuffers[9];
inline SoundBuffer*& sndExplosion = soundBuffers[10];
inline SoundBuffer*& sndRocketLaunch = soundBuffers[11];

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
