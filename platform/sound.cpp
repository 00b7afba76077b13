// Sound buffers and their mixing. Every buffer is a static block of 8-bit
// unsigned mono samples at 22050 Hz; the back end's audio device pulls the
// mix of all playing buffers through mixSoundBuffers, under its lock.

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/backend.h"

namespace platform {

struct SoundDevice {
    int serial = 0;
    bool audioOpen = false;
    bool paused = false;
    std::vector<SoundBuffer*> buffers;
};

struct SoundBuffer {
    int serial = 0;
    SoundDevice* device = nullptr;
    bool primary = false;
    std::vector<uint8_t> samples;
    uint32_t position = 0;
    bool playing = false;
    bool looping = false;
    int32_t pan = 0;
    bool locked = false;
};

struct Listener3D {
    int serial;
    ListenerParameters parameters{};
};

struct Buffer3D {
    int serial;
    Buffer3DParameters parameters{};
};

namespace {

int serials = 0;
SoundOptions chosen;
// Read by the audio thread at every mix, so a change is heard at once.
std::atomic<int> mixVolume{100};

// Holds the audio device off the buffers while the game thread changes them.
class AudioLock {
  public:
    AudioLock() { backend().lockAudio(); }
    ~AudioLock() { backend().unlockAudio(); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

}  // namespace

SoundDevice* createSoundDevice() {
    SoundDevice* device = nullptr;
    if (!backend().refuses("createSoundDevice")) {
        device = new SoundDevice;
        device->serial = ++serials;
        backend().setSilentAudio(chosen.silent);
        if (backend().openAudio(device)) {
            device->audioOpen = true;
        } else {
            delete device;
            device = nullptr;
        }
    }
    backend().note("createSoundDevice", device ? device->serial : 0);
    return device;
}

bool setSoundCooperativeLevel(SoundDevice* device, Window* window) {
    backend().note("setSoundCooperativeLevel", device ? device->serial : 0);
    return device != nullptr && window != nullptr && !backend().refuses("setSoundCooperativeLevel");
}

namespace {

SoundBuffer* makeSoundBuffer(SoundDevice* device, const WaveFormat& format, uint32_t bytes) {
    if (device == nullptr || backend().refuses("createSoundBuffer")) return nullptr;
    // The mixer plays 8-bit mono at 22050 Hz only; a buffer of no bytes is no buffer.
    const bool playable = format.formatTag == 1 && format.channels == 1 &&
                          format.samplesPerSec == 22050 && format.bitsPerSample == 8 &&
                          format.blockAlign == 1;
    if (!playable || bytes == 0 || bytes > maxSoundBufferBytes) return nullptr;
    auto* buffer = new SoundBuffer;
    buffer->serial = ++serials;
    buffer->device = device;
    buffer->samples.assign(bytes, 128);
    AudioLock lock;
    device->buffers.push_back(buffer);
    return buffer;
}

}  // namespace

SoundBuffer* createSoundBuffer(SoundDevice* device, const WaveFormat& format, uint32_t bytes) {
    SoundBuffer* buffer = makeSoundBuffer(device, format, bytes);
    backend().note("createSoundBuffer", buffer ? buffer->serial : 0);
    return buffer;
}

SoundBuffer* createPrimaryBuffer(SoundDevice* device) {
    SoundBuffer* buffer = nullptr;
    if (device != nullptr && !backend().refuses("createPrimaryBuffer")) {
        // The primary buffer is never mixed; it only gives the listener.
        buffer = new SoundBuffer;
        buffer->serial = ++serials;
        buffer->primary = true;
    }
    backend().note("createPrimaryBuffer", buffer ? buffer->serial : 0);
    return buffer;
}

bool lockBuffer(SoundBuffer* buffer, uint32_t offset, uint32_t length, uint8_t** region,
                uint32_t* regionLength) {
    backend().note("lockBuffer", buffer ? buffer->serial : 0);
    if (buffer == nullptr || region == nullptr || regionLength == nullptr || buffer->primary ||
        buffer->locked || backend().refuses("lockBuffer")) {
        return false;
    }
    if (offset >= buffer->samples.size()) return false;
    const auto available = static_cast<uint32_t>(buffer->samples.size()) - offset;
    *region = buffer->samples.data() + offset;
    *regionLength = std::min(length, available);
    buffer->locked = true;
    return true;
}

bool unlockBuffer(SoundBuffer* buffer, uint8_t* region, uint32_t written) {
    backend().note("unlockBuffer", buffer ? buffer->serial : 0);
    if (buffer == nullptr || !buffer->locked || backend().refuses("unlockBuffer")) return false;
    buffer->locked = false;
    if (region < buffer->samples.data() || region > buffer->samples.data() + buffer->samples.size())
        return false;
    const auto offset = static_cast<size_t>(region - buffer->samples.data());
    return written <= buffer->samples.size() - offset;
}

Listener3D* queryListener(SoundBuffer* primary) {
    backend().note("queryListener", primary ? primary->serial : 0);
    if (primary == nullptr || !primary->primary || backend().refuses("queryListener")) {
        return nullptr;
    }
    auto* listener = new Listener3D{++serials};
    listener->parameters.orientFront = {0, 0, 1};
    listener->parameters.orientTop = {0, 1, 0};
    listener->parameters.distanceFactor = 1;
    listener->parameters.rolloffFactor = 1;
    listener->parameters.dopplerFactor = 1;
    return listener;
}

Buffer3D* query3DBuffer(SoundBuffer* buffer) {
    backend().note("query3DBuffer", buffer ? buffer->serial : 0);
    if (buffer == nullptr || buffer->primary || backend().refuses("query3DBuffer")) return nullptr;
    auto* buffer3D = new Buffer3D{++serials};
    buffer3D->parameters.insideConeAngle = 360;
    buffer3D->parameters.outsideConeAngle = 360;
    buffer3D->parameters.coneOrientation = {0, 0, 1};
    buffer3D->parameters.minDistance = 1;
    buffer3D->parameters.maxDistance = 1e9f;
    return buffer3D;
}

bool getListenerParameters(Listener3D* listener, ListenerParameters& parameters) {
    backend().note("getListenerParameters", listener ? listener->serial : 0);
    if (listener == nullptr || backend().refuses("getListenerParameters")) return false;
    parameters = listener->parameters;
    return true;
}

bool setListenerParameters(Listener3D* listener, const ListenerParameters& parameters) {
    backend().note("setListenerParameters", listener ? listener->serial : 0);
    if (listener == nullptr || backend().refuses("setListenerParameters")) return false;
    listener->parameters = parameters;
    return true;
}

bool getBuffer3DParameters(Buffer3D* buffer, Buffer3DParameters& parameters) {
    backend().note("getBuffer3DParameters", buffer ? buffer->serial : 0);
    if (buffer == nullptr || backend().refuses("getBuffer3DParameters")) return false;
    parameters = buffer->parameters;
    return true;
}

bool setBuffer3DParameters(Buffer3D* buffer, const Buffer3DParameters& parameters) {
    backend().note("setBuffer3DParameters", buffer ? buffer->serial : 0);
    if (buffer == nullptr || backend().refuses("setBuffer3DParameters")) return false;
    buffer->parameters = parameters;
    return true;
}

uint32_t getStatus(SoundBuffer* buffer) {
    if (buffer == nullptr) return 0;
    AudioLock lock;
    if (!buffer->playing) return 0;
    return DSBSTATUS_PLAYING | (buffer->looping ? DSBSTATUS_LOOPING : 0);
}

void setPan(SoundBuffer* buffer, int32_t pan) {
    if (buffer == nullptr) return;
    backend().note("setPan", buffer->serial);
    AudioLock lock;
    buffer->pan = std::clamp(pan, -10000, 10000);
}

void play(SoundBuffer* buffer, uint32_t flags) {
    if (buffer == nullptr) return;
    backend().note("play", buffer->serial);
    if (buffer->primary || buffer->samples.empty()) return;
    AudioLock lock;
    buffer->playing = true;
    buffer->looping = (flags & DSBPLAY_LOOPING) != 0;
}

void stop(SoundBuffer* buffer) {
    if (buffer == nullptr) return;
    backend().note("stop", buffer->serial);
    AudioLock lock;
    buffer->playing = false;
}

uint32_t playPosition(SoundBuffer* buffer) {
    if (buffer == nullptr) return 0;
    AudioLock lock;
    return buffer->position;
}

void pauseSound(SoundDevice* device, bool paused) {
    if (device == nullptr) return;
    backend().note(paused ? "pauseSound" : "resumeSound", device->serial);
    AudioLock lock;
    device->paused = paused;
}

void setSoundOptions(const SoundOptions& options) {
    chosen = options;
    chosen.volume = std::clamp(options.volume, 0, 100);
    mixVolume = chosen.volume;
}

SoundOptions soundOptions() {
    return chosen;
}

void mixSoundBuffers(SoundDevice* device, int16_t* out, int frames) {
    if (out != nullptr) std::fill(out, out + std::max(frames, 0), int16_t{0});
    if (device == nullptr || frames <= 0 || device->paused) return;
    const int volume = mixVolume;
    for (SoundBuffer* buffer : device->buffers) {
        int done = 0;
        const auto length = static_cast<uint32_t>(buffer->samples.size());
        while (buffer->playing && done < frames) {
            const uint32_t run =
                std::min<uint32_t>(length - buffer->position, static_cast<uint32_t>(frames - done));
            if (out != nullptr) {
                const uint8_t* from = buffer->samples.data() + buffer->position;
                for (uint32_t i = 0; i < run; ++i) {
                    // The volume turns each sound down before they are
                    // added; a sum still too loud saturates rather than wraps.
                    const int sample = ((from[i] - 128) << 7) * volume / 100;
                    const int mixed = out[done + static_cast<int>(i)] + sample;
                    out[done + static_cast<int>(i)] =
                        static_cast<int16_t>(std::clamp(mixed, -32768, 32767));
                }
            }
            done += static_cast<int>(run);
            buffer->position += run;
            if (buffer->position >= length) {
                // A loop runs on from its start; a one-shot that ends stands
                // at its start again, ready for the next play.
                buffer->position = 0;
                if (!buffer->looping) buffer->playing = false;
            }
        }
    }
}

void release(SoundBuffer* buffer) {
    if (buffer == nullptr) return;
    backend().note("releaseSoundBuffer", buffer->serial);
    if (buffer->device != nullptr) {
        AudioLock lock;
        auto& list = buffer->device->buffers;
        list.erase(std::remove(list.begin(), list.end(), buffer), list.end());
    }
    delete buffer;
}

void release(Listener3D* listener) {
    if (listener == nullptr) return;
    backend().note("releaseListener", listener->serial);
    delete listener;
}

void release(Buffer3D* buffer) {
    if (buffer == nullptr) return;
    backend().note("releaseBuffer3D", buffer->serial);
    delete buffer;
}

void release(SoundDevice* device) {
    if (device == nullptr) return;
    backend().note("releaseSoundDevice", device->serial);
    if (device->audioOpen) backend().closeAudio();
    // Buffers the game forgot go with their device.
    for (SoundBuffer* buffer : device->buffers) buffer->device = nullptr;
    device->buffers.clear();
    delete device;
}

}  // namespace platform
