// The SDL back end's clocks, sound output and keyboard.

#include <SDL.h>

#include <cstring>

#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

constexpr int sampleRate = 22050;
// About 25 ms of sound per callback: short enough that an explosion follows
// its flash, long enough not to starve on a busy machine.
constexpr Uint16 callbackFrames = 512;

// Runs on SDL's audio thread, which holds the device lock meanwhile, so the
// game thread's lockAudio keeps it away from half-changed buffers.
void SDLCALL mixCallback(void* userdata, Uint8* stream, int len) {
    // SDL hands over the stream uninitialised.
    std::memset(stream, 0, static_cast<size_t>(len));
    mixSoundBuffers(static_cast<SoundDevice*>(userdata), reinterpret_cast<int16_t*>(stream),
                    len / 2);
}

}  // namespace

// ---------------------------------------------------------------- clocks

bool SdlBackend::performanceFrequency(int64_t& frequency) {
    frequency = static_cast<int64_t>(SDL_GetPerformanceFrequency());
    return frequency != 0;
}

int64_t SdlBackend::performanceCounter() {
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

uint32_t SdlBackend::milliseconds() {
    return SDL_GetTicks();
}

// ---------------------------------------------------------------- sound

bool SdlBackend::openAudio(SoundDevice* device) {
    if (audioDevice != 0) {
        return false;
    }
    if (silentAudio) {
        // Above whatever the environment asks for, and only for this device:
        // the next device without the option gets the machine's own again.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    }
    const int started = SDL_InitSubSystem(SDL_INIT_AUDIO);
    if (silentAudio) {
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (started != 0) {
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = callbackFrames;
    want.callback = mixCallback;
    want.userdata = device;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts our 22050 Hz mono to whatever the
    // hardware wants, and the mixer always gets the format it was written for.
    audioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (audioDevice == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        quitSdlWhenIdle();
        return false;
    }
    SDL_PauseAudioDevice(audioDevice, 0);
    return true;
}

void SdlBackend::closeAudio() {
    if (audioDevice == 0) {
        return;
    }
    SDL_CloseAudioDevice(audioDevice);
    audioDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    quitSdlWhenIdle();
}

void SdlBackend::setSilentAudio(bool silent) {
    silentAudio = silent;
}

void SdlBackend::lockAudio() {
    if (audioDevice != 0) {
        SDL_LockAudioDevice(audioDevice);
    }
}

void SdlBackend::unlockAudio() {
    if (audioDevice != 0) {
        SDL_UnlockAudioDevice(audioDevice);
    }
}

// ---------------------------------------------------------------- keyboard

bool SdlBackend::hasKeyboardFocus() {
    // SDL's own record changes at every pump, readKeys' included, while the
    // focus messages wait for the next pumpEvents. The end screens read keys
    // without handling messages, so only this record sees the player come back.
    return window != nullptr && SDL_GetKeyboardFocus() == window;
}

void SdlBackend::readKeys(uint8_t (&state)[256]) {
    // The end screens wait for a key without handling messages; pumping here
    // keeps the snapshot fresh, and the events stay queued for pumpEvents.
    SDL_PumpEvents();
    switchIfAsked();
    std::memset(state, 0, sizeof state);
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int scancode = 0; scancode < count; ++scancode) {
        if (keys[scancode] != 0) {
            const uint8_t dik = dikFromScancode(scancode);
            if (dik != 0) {
                state[dik] = 0x80;
            }
        }
    }
    machineKeys.adjustSnapshot(state);
}

}  // namespace platform::sdl
