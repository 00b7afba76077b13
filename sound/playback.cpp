// playSound and stopLooping: the play-if-idle rule and the stop rule. Calling
// playSound every frame keeps a loop going, and makes a one-shot repeat, one
// after another, for as long as its cause lasts.

#include "sound/playback.h"

namespace {
SoundObserver soundObserver = nullptr;
}  // namespace

void playSound(platform::SoundBuffer* buffer, uint32_t flags) {
    if (soundObserver != nullptr) soundObserver(true, buffer, flags);
    const uint32_t status = platform::getStatus(buffer);
    // A sound already playing is left alone: neither restarted nor turned into a loop.
    if (status & platform::DSBSTATUS_PLAYING) return;
    platform::setPan(buffer, platform::DSBPAN_CENTER);
    platform::play(buffer, flags);
}

void stopLooping(platform::SoundBuffer* buffer) {
    if (soundObserver != nullptr) soundObserver(false, buffer, 0);
    const uint32_t status = platform::getStatus(buffer);
    // A one-shot is never cut off.
    if (status & platform::DSBSTATUS_LOOPING) platform::stop(buffer);
}

void setSoundObserver(SoundObserver observer) {
    soundObserver = observer;
}
