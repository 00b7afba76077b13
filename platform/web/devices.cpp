// The browser back end's clocks, sound output, keyboard, touch controls and
// gamepads.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/pad.h"
#include "platform/web/web_machine.h"

extern "C" {
int kvAudioOpen();
void kvAudioClose();
int kvAudioWanted();
void kvAudioQueue(const int16_t* samples, int count);
void kvAudioRest(int resting);
int kvPageTouchControls();
int kvPagePads(int* readings, int most);
void kvPagePadPlayed();
void kvPageShowPaused(int paused);
}

namespace platform::web {

namespace {

constexpr int64_t sampleRate = 22050;
// A page away for longer does not come back to sounds that played on unheard.
constexpr int64_t longestSilentFeed = 100'000'000;  // nanoseconds
// More pads than a browser offers slots for.
constexpr int mostPads = 8;

// What the page's touch controls and pads report, one bit each (page.js
// uses the same bits).
enum : int {
    controlLeft = 1,
    controlRight = 2,
    controlUp = 4,
    controlDown = 8,
    controlLand = 16,   // the pad's south button
    controlPause = 32,  // the pad's west button (X, Square)
    controlStart = 64,
    controlBack = 128,
    controlSettings = 256,  // the page's Settings button; the pad's right shoulder
    controlShot = 512,      // the pad's north button (Y, Triangle)
};

// The page's bits for the pad's buttons, in the order of platform::padButtons;
// the page reads the standard layout's d-pad, south, west and north buttons,
// Start, Back and the right shoulder.
constexpr int buttonBits[] = {
    controlLeft,  controlRight, controlUp,    controlDown, controlLand, 0,
    controlPause, controlShot,  controlStart, controlBack, 0,           controlSettings,
};
static_assert(std::size(buttonBits) == padButtonCount);

// A touch control holds the key it stands for. The start control is Space
// on the title and Return on the end pictures, as a pad's Start is.
constexpr std::pair<int, uint8_t> touchKeys[] = {
    {controlLeft, DIK_LEFT},   {controlRight, DIK_RIGHT},  {controlUp, DIK_UP},
    {controlDown, DIK_DOWN},   {controlLand, DIK_L},       {controlPause, DIK_P},
    {controlStart, DIK_SPACE}, {controlStart, DIK_RETURN}, {controlSettings, DIK_O},
};

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
    // A program that ends while paused leaves no pause behind for the next.
    if (paused) note("resumeSound", 0);
}

void WebBackend::note(const char* call, int) {
    const bool pausing = std::strcmp(call, "pauseSound") == 0;
    if (!pausing && std::strcmp(call, "resumeSound") != 0) return;
    paused = pausing;
    kvPageShowPaused(paused ? 1 : 0);
    // Nothing is mixed while paused; the output rests until play goes on.
    kvAudioRest(paused ? 1 : 0);
}

void WebBackend::feedSound() {
    if (audio == nullptr || paused) return;
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
    if (pauseAsked) state[DIK_P] = 0x80;
    const int touched = kvPageTouchControls();
    for (const auto& [control, dik] : touchKeys) {
        if ((touched & control) != 0) state[dik] = 0x80;
    }
}

PadState WebBackend::readPads() {
    int readings[mostPads * 3] = {};
    const int count = kvPagePads(readings, mostPads);
    PadState state;
    for (int i = 0; i < count; ++i) {
        const int* one = readings + 3 * i;
        PadReading reading;
        reading.stickX = one[0];
        reading.stickY = one[1];
        for (int b = 0; b < padButtonCount; ++b) {
            reading.buttons.*padButtons[b] = (one[2] & buttonBits[b]) != 0;
        }
        state = heldOnAny(state, padHolds(reading));
    }
    if (holdsAnything(state)) kvPagePadPlayed();
    // The pause asked for while the page was hidden comes as the pause key
    // and the pad's pause button both: the loop reads the pad even when the
    // page has not got the keyboard back.
    if (pauseAsked) {
        state.west = true;
        pauseAsked = false;
    }
    return state;
}

}  // namespace platform::web
