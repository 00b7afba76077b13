// The game thread plays, stops, pans and polls sound buffers, and makes and
// releases them, while SDL's audio thread mixes them. Built with
// -DKORDAVAN_SANITIZE=thread (tools/sanitize.sh) this is the check that the
// two threads share the buffers only under the audio lock.

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"

namespace {

using namespace platform;
using namespace std::chrono_literals;

const WaveFormat monoBytes{1, 1, 22050, 22050, 1, 8, 0};

SoundBuffer* filledBuffer(SoundDevice* device, uint32_t samples, uint8_t seed) {
    SoundBuffer* buffer = createSoundBuffer(device, monoBytes, samples);
    if (buffer == nullptr) return nullptr;
    uint8_t* region = nullptr;
    uint32_t length = 0;
    if (!lockBuffer(buffer, 0, samples, &region, &length)) {
        release(buffer);
        return nullptr;
    }
    for (uint32_t i = 0; i < length; ++i) {
        region[i] = static_cast<uint8_t>(128 + ((i / (20 + seed)) % 2 == 0 ? 60 : -60));
    }
    unlockBuffer(buffer, region, length);
    return buffer;
}

class MixerThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("SDL_AUDIODRIVER")) previousDriver = old;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        useSdlBackend();
        device = createSoundDevice();
        ASSERT_NE(device, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        for (SoundBuffer* buffer : buffers) release(buffer);
        buffers.clear();
        release(device);
        headless::use();
        if (previousDriver.empty()) {
            unsetenv("SDL_AUDIODRIVER");
        } else {
            setenv("SDL_AUDIODRIVER", previousDriver.c_str(), 1);
        }
    }

    std::string previousDriver;
    SoundDevice* device = nullptr;
    std::vector<SoundBuffer*> buffers;
};

TEST_F(MixerThreadTest, OneShotRunsOutOnTheAudioThread) {
    // A tenth of a second of sound, played once: only the audio thread can
    // bring it to its end.
    SoundBuffer* shot = filledBuffer(device, 2205, 3);
    ASSERT_NE(shot, nullptr);
    buffers.push_back(shot);
    play(shot, 0);
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while ((getStatus(shot) & DSBSTATUS_PLAYING) != 0 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(getStatus(shot), 0u) << "the one-shot never ended: no audio thread mixes";
    EXPECT_EQ(playPosition(shot), 0u);
}

TEST_F(MixerThreadTest, PlayStopPanAndPollWhileTheAudioThreadMixes) {
    const uint32_t lengths[] = {300, 1024, 2205, 8000, 22050, 44100};
    for (uint32_t i = 0; i < std::size(lengths); ++i) {
        buffers.push_back(filledBuffer(device, lengths[i], static_cast<uint8_t>(i)));
        ASSERT_NE(buffers.back(), nullptr);
    }
    std::mt19937 dice(7);
    int endedByThemselves = 0;
    const auto until = std::chrono::steady_clock::now() + 1500ms;
    for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
        SoundBuffer* buffer = buffers[dice() % buffers.size()];
        switch (dice() % 6) {
            case 0:
                play(buffer, DSBPLAY_LOOPING);
                break;
            case 1:
                play(buffer, 0);
                break;
            case 2:
                stop(buffer);
                EXPECT_EQ(getStatus(buffer) & DSBSTATUS_PLAYING, 0u);
                break;
            case 3:
                setPan(buffer, static_cast<int32_t>(dice() % 20001) - 10000);
                break;
            default: {
                const uint32_t status = getStatus(buffer);
                const uint32_t position = playPosition(buffer);
                EXPECT_TRUE(status == 0 || (status & DSBSTATUS_PLAYING) != 0);
                EXPECT_LE(position, 44100u);
                break;
            }
        }
        // Now and then a buffer goes and a new one comes, as at start-up and
        // teardown, while the others play on.
        if (round % 500 == 499) {
            const size_t slot = dice() % buffers.size();
            const bool wasOneShot = (getStatus(buffers[slot]) & DSBSTATUS_LOOPING) == 0;
            release(buffers[slot]);
            buffers[slot] = filledBuffer(device, 300 + dice() % 5000, static_cast<uint8_t>(slot));
            ASSERT_NE(buffers[slot], nullptr);
            play(buffers[slot], wasOneShot ? 0 : DSBPLAY_LOOPING);
        }
        if (round % 50 == 0) std::this_thread::sleep_for(100us);
    }
    // The shortest one-shot, left alone, ends by itself.
    play(buffers[0], 0);
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < limit) {
        if ((getStatus(buffers[0]) & DSBSTATUS_PLAYING) == 0) {
            ++endedByThemselves;
            break;
        }
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(endedByThemselves, 1);
}

}  // namespace
