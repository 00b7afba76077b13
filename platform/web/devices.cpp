// The browser back end's clocks, sound output and keyboard.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <iterator>

#include "platform/web/web_machine.h"

extern "C" {
int kvAudioOpen();
void kvAudioClose();
int kvAudioWanted();
void kvAudioQueue(const int16_t* samples, int count);
}

namespace platform::web {

namespace {

constexpr int64_t sampleRate = 22050;
// A page away for longer does not come back to sounds that played on unheard.
constexpr int64_t longestSilentFeed = 100'000'000;  // nanoseconds

}  // namespace

// ---------------------------------------------------------------- clocks

int64_t WebBackend::liveNanoseconds() const {
    // performance.now(), in milliseconds with a fraction.
    return static_cast<int64_t>(emscripten_get_now() * 1e6);
}

bool WebBackend::performanceFrequency(int64_t& frequency) {
    frequency = 1'000'000'000;  // nanoseconds
    return true;
}

int64_t WebBackend::performanceCounter() {
    return liveNanoseconds();
}

uint32_t WebBackend::milliseconds() {
    return static_cast<uint32_t>(performanceCounter() / 1'000'000);
}

// ---------------------------------------------------------------- sound

bool WebBackend::openAudio(SoundDevice* device) {
    if (audio != nullptr || kvAudioOpen() == 0) return false;
    audio = device;
    lastFeed = liveNanoseconds();
    silentRemainder = 0;
    return true;
}

void WebBackend::closeAudio() {
    if (audio == nullptr) return;
    kvAudioClose();
    audio = nullptr;
}

void WebBackend::feedSound() {
    if (audio == nullptr) return;
    const int64_t now = liveNanoseconds();
    const int wanted = kvAudioWanted();
    if (wanted < 0) {
        // No output yet (no key pressed so far) or none at all: the buffers
        // play on unheard in real time, as they would on a muted card.
        silentRemainder += std::min(now - lastFeed, longestSilentFeed) * sampleRate;
        const int64_t samples = silentRemainder / 1'000'000'000;
        silentRemainder %= 1'000'000'000;
        mixSoundBuffers(audio, nullptr, static_cast<int>(samples));
    } else if (wanted > 0) {
        mixed.assign(static_cast<size_t>(wanted), 0);
        mixSoundBuffers(audio, mixed.data(), wanted);
        kvAudioQueue(mixed.data(), wanted);
    }
    lastFeed = now;
}

// ---------------------------------------------------------------- keyboard

bool WebBackend::hasKeyboardFocus() {
    return focused;
}

void WebBackend::readKeys(uint8_t (&state)[256]) {
    std::copy(std::begin(keys), std::end(keys), std::begin(state));
}

}  // namespace platform::web
