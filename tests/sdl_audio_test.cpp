// The sound buffers played by SDL's real audio thread, on its dummy and disk
// drivers: what the game sees of a sound while another thread mixes it.

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "tests/sdl_test_support.h"

namespace {

using namespace platform;
using namespace std::chrono_literals;
using sdltest::EnvVar;

constexpr uint32_t sampleRate = 22050;

const WaveFormat monoByteFormat{1, 1, sampleRate, sampleRate, 1, 8, 0};

// Loud square wave: a buffer that cannot be mistaken for silence.
std::vector<uint8_t> squareWave(uint32_t samples) {
    std::vector<uint8_t> wave(samples);
    for (uint32_t i = 0; i < samples; ++i) wave[i] = (i / 25) % 2 == 0 ? 0x20 : 0xE0;
    return wave;
}

SoundBuffer* makeBuffer(SoundDevice* device, const std::vector<uint8_t>& samples) {
    const auto size = static_cast<uint32_t>(samples.size());
    SoundBuffer* buffer = createSoundBuffer(device, monoByteFormat, size);
    if (buffer == nullptr) return nullptr;
    uint8_t* region = nullptr;
    uint32_t regionLength = 0;
    if (!lockBuffer(buffer, 0, size, &region, &regionLength) || regionLength != size) {
        return nullptr;
    }
    std::copy(samples.begin(), samples.end(), region);
    unlockBuffer(buffer, region, size);
    return buffer;
}

// Polls until the condition holds or the time is up; the audio thread runs
// at its own pace, so only generous limits are safe.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(2ms);
    }
    return condition();
}

class SdlAudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        useSdlBackend();
        device = createSoundDevice();
        ASSERT_NE(device, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        release(device);
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        headless::use();
    }

    EnvVar driver{"SDL_AUDIODRIVER", "dummy"};
    SoundDevice* device = nullptr;
};

TEST_F(SdlAudioTest, OneShotPlaysThenStandsAtItsStartAgain) {
    SoundBuffer* shot = makeBuffer(device, squareWave(sampleRate / 10));
    ASSERT_NE(shot, nullptr);
    play(shot, 0);
    EXPECT_EQ(getStatus(shot), DSBSTATUS_PLAYING);
    EXPECT_TRUE(eventually([&] { return (getStatus(shot) & DSBSTATUS_PLAYING) == 0; }));
    EXPECT_EQ(playPosition(shot), 0u);
    release(shot);
}

TEST_F(SdlAudioTest, AudioThreadMovesThePlayPositionOn) {
    SoundBuffer* longSound = makeBuffer(device, squareWave(sampleRate * 3));
    ASSERT_NE(longSound, nullptr);
    play(longSound, 0);
    EXPECT_TRUE(eventually([&] { return playPosition(longSound) > 0; }));
    release(longSound);
}

TEST_F(SdlAudioTest, LoopKeepsPlayingPastItsEnd) {
    const uint32_t length = sampleRate / 20;
    SoundBuffer* loop = makeBuffer(device, squareWave(length));
    ASSERT_NE(loop, nullptr);
    play(loop, DSBPLAY_LOOPING);
    // Its position wraps only after it has run off its end at least once.
    uint32_t highest = 0;
    bool wrapped = eventually([&] {
        const uint32_t at = playPosition(loop);
        const bool backAgain = highest > length / 2 && at < highest;
        highest = std::max(highest, at);
        return backAgain;
    });
    EXPECT_TRUE(wrapped);
    std::this_thread::sleep_for(200ms);  // four more rounds
    EXPECT_EQ(getStatus(loop), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    stop(loop);
    EXPECT_EQ(getStatus(loop) & DSBSTATUS_PLAYING, 0u);
    release(loop);
}

TEST_F(SdlAudioTest, StopKeepsThePlaceAndPlayResumesFromIt) {
    SoundBuffer* longSound = makeBuffer(device, squareWave(sampleRate * 5));
    ASSERT_NE(longSound, nullptr);
    play(longSound, 0);
    ASSERT_TRUE(eventually([&] { return playPosition(longSound) > 2000; }));
    stop(longSound);
    const uint32_t stoppedAt = playPosition(longSound);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(playPosition(longSound), stoppedAt);
    EXPECT_EQ(getStatus(longSound), 0u);

    play(longSound, 0);
    EXPECT_GE(playPosition(longSound), stoppedAt);
    EXPECT_TRUE(eventually([&] { return playPosition(longSound) > stoppedAt; }));
    release(longSound);
}

TEST_F(SdlAudioTest, ReleasingASoundWhileItPlaysIsSafe) {
    for (int i = 0; i < 20; ++i) {
        SoundBuffer* shot = makeBuffer(device, squareWave(sampleRate));
        ASSERT_NE(shot, nullptr);
        play(shot, DSBPLAY_LOOPING);
        std::this_thread::sleep_for(3ms);
        release(shot);
    }
}

TEST(SdlAudioDisk, PlayedSoundReachesTheDeviceAsSound) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("kordavan-sdl-audio-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "out.raw";
    {
        EnvVar driver("SDL_AUDIODRIVER", "disk");
        EnvVar path("SDL_DISKAUDIOFILE", file.c_str());
        useSdlBackend();
        SoundDevice* device = createSoundDevice();
        ASSERT_NE(device, nullptr) << SDL_GetError();
        SoundBuffer* shot = makeBuffer(device, squareWave(sampleRate / 5));
        ASSERT_NE(shot, nullptr);
        play(shot, 0);
        EXPECT_TRUE(eventually([&] { return getStatus(shot) == 0; }));
        release(shot);
        release(device);
        headless::use();
    }
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove_all(folder);
    // The square wave swings +-96 * 128 around zero as 16-bit samples.
    ASSERT_GE(bytes.size(), 2u * sampleRate / 5);
    int loud = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                 static_cast<uint8_t>(bytes[i + 1]) << 8);
        loud += std::abs(sample) > 8000;
    }
    EXPECT_GE(loud, static_cast<int>(sampleRate / 10));
}

}  // namespace
