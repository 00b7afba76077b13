// Fills the twelve sound buffers from the WAVE resources, and makes the 3D
// listener and the 3D interface of the launch sound once.

#include "sound/sound_buffers.h"

#include <array>
#include <string>

#include "platform/startup_state.h"
#include "sound/wave_image.h"

platform::SoundDevice* directSound = nullptr;
SoundBuffer* soundBuffers[soundCount] = {};
SoundBuffer* primaryBuffer = nullptr;
platform::Listener3D* listener3D = nullptr;
platform::Buffer3D* buffer3D = nullptr;

namespace {

// Fills buffer i from its reader; 0 after storing the reason.
int fillBuffer(int i, const WaveImage& reader) {
    const uint32_t size = reader.dataSize();
    platform::WaveFormat waveFormat{};
    reader.readFormat(&waveFormat);

    soundBuffers[i] = platform::createSoundBuffer(directSound, waveFormat, size);
    if (soundBuffers[i] == nullptr) {
        errorMessage = "CreateBuffer FAILED";
        return 0;
    }
    uint8_t* region = nullptr;
    uint32_t regionLength = 0;
    if (!platform::lockBuffer(soundBuffers[i], 0, size, &region, &regionLength)) {
        errorMessage = "Error Loading Sound";
        return 0;
    }
    // The samples go straight from the resource into the locked buffer.
    const uint32_t count = reader.readData(region, regionLength);
    if (!platform::unlockBuffer(soundBuffers[i], region, count)) {
        errorMessage = "Error Loading Sound";
        return 0;
    }
    return 1;
}

}  // namespace

int loadSoundBuffers() {
    WaveImage readers[soundCount];
    for (int i = 0; i < soundCount; ++i) {
        readers[i].loadFromResource(static_cast<unsigned>(soundOrder[i]), appInstance);
    }
    for (int i = 0; i < soundCount; ++i) {
        if (!fillBuffer(i, readers[i])) return 0;
    }
    return 1;
}

int createPrimaryBuffer() {
    primaryBuffer = platform::createPrimaryBuffer(directSound);
    if (primaryBuffer == nullptr) {
        errorMessage = "CreateBuffer FAILED";
        return 0;
    }
    listener3D = platform::queryListener(primaryBuffer);
    if (listener3D == nullptr) {
        errorMessage = "3D Listener query FAILED";
        return 0;
    }
    return 1;
}

int query3DBuffer() {
    buffer3D = platform::query3DBuffer(sndOrbLaunch);
    if (buffer3D == nullptr) {
        errorMessage = "3D Buffer query FAILED";
        return 0;
    }
    return 1;
}

int set3DParameters() {
    platform::ListenerParameters listener{};
    if (!platform::getListenerParameters(listener3D, listener)) {
        errorMessage = "3D Listener parameter get/set FAILED";
        return 0;
    }
    listener.rolloffFactor = 1.0f;
    listener.dopplerFactor = 1.0f;
    if (!platform::setListenerParameters(listener3D, listener)) {
        errorMessage = "3D Listener query FAILED";
        return 0;
    }

    platform::Buffer3DParameters sound{};
    if (!platform::getBuffer3DParameters(buffer3D, sound)) {
        errorMessage = "3D Listener parameter get/set FAILED";
        return 0;
    }
    sound.minDistance = 1.0f;
    sound.maxDistance = 1000000000.0f;
    sound.mode = platform::DS3DMODE_HEADRELATIVE;
    if (!platform::setBuffer3DParameters(buffer3D, sound)) {
        errorMessage = "3D Buffer query FAILED";
        return 0;
    }
    return 1;
}

void releaseSoundBuffers() {
    if (buffer3D != nullptr) {
        platform::release(buffer3D);
        buffer3D = nullptr;
    }
    if (listener3D != nullptr) {
        platform::release(listener3D);
        listener3D = nullptr;
    }
    for (SoundBuffer*& buffer : soundBuffers) {
        if (buffer == nullptr) continue;
        platform::release(buffer);
        buffer = nullptr;
    }
    if (primaryBuffer != nullptr) {
        platform::release(primaryBuffer);
        primaryBuffer = nullptr;
    }
}

const char* soundName(const SoundBuffer* buffer) {
    static const auto names = [] {
        std::array<std::string, soundCount> made;
        for (int i = 0; i < soundCount; ++i) made[i] = "snd" + std::to_string(soundOrder[i]);
        return made;
    }();
    if (buffer == nullptr) return "?";
    for (int i = 0; i < soundCount; ++i) {
        if (soundBuffers[i] == buffer) return names[i].c_str();
    }
    return "?";
}
