#pragma once
// The game's only two ways of using a sound.

#include <cstdint>

#include "platform/platform.h"

// Starts the sound, centred, unless it is already playing.
void playSound(platform::SoundBuffer* buffer, uint32_t flags);
// Stops the sound only while it plays in a loop.
void stopLooping(platform::SoundBuffer* buffer);

// Tools may watch every call, whatever its effect.
using SoundObserver = void (*)(bool play, const platform::SoundBuffer* buffer, uint32_t flags);
void setSoundObserver(SoundObserver observer);
