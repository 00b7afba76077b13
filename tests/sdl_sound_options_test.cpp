// The sound options on SDL's real audio thread: a silent device where no
// sound card works, pausing, and the volume as it reaches the device.

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
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

SoundBuffer* steadyBuffer(SoundDevice* device, uint32_t samples, uint8_t value) {
    SoundBuffer* buffer = createSoundBuffer(device, monoByteFormat, samples);
    uint8_t* region = nullptr;
    uint32_t length = 0;
    if (buffer == nullptr || !lockBuffer(buffer, 0, samples, &region, &length)) return nullptr;
    std::fill(region, region + length, value);
    unlockBuffer(buffer, region, length);
    return buffer;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(2ms);
    }
    return condition();
}

class SdlSoundOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override { useSdlBackend(); }
    void TearDown() override {
        setSoundOptions(SoundOptions{});
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        headless::use();
    }
};

TEST_F(SdlSoundOptionsTest, WithoutAWorkingSoundCardTheSilentDeviceStillOpens) {
    // A driver that does not exist stands for a machine without sound.
    EnvVar broken("SDL_AUDIODRIVER", "no-such-sound-card");
    EXPECT_EQ(createSoundDevice(), nullptr);

    setSoundOptions({true, 100});
    SoundDevice* device = createSoundDevice();
    ASSERT_NE(device, nullptr) << SDL_GetError();
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    release(device);

    // The choice holds for that device only: without it the machine's own
    // sound is tried again.
    setSoundOptions({false, 100});
    EXPECT_EQ(createSoundDevice(), nullptr);
}

TEST_F(SdlSoundOptionsTest, TheSilentDeviceKeepsTimeAsARealOneDoes) {
    setSoundOptions({true, 100});
    SoundDevice* device = createSoundDevice();
    ASSERT_NE(device, nullptr);
    SoundBuffer* longSound = steadyBuffer(device, sampleRate * 10, 0xC0);
    SoundBuffer* shot = steadyBuffer(device, sampleRate / 10, 0xC0);
    play(longSound, 0);
    play(shot, 0);
    // A tenth of a second of sound is over after about that long...
    EXPECT_TRUE(eventually([&] { return getStatus(shot) == 0; }));
    // ...while ten seconds of it are not: it plays at the real rate, not as
    // fast as a machine can mix.
    EXPECT_EQ(getStatus(longSound), DSBSTATUS_PLAYING);
    EXPECT_LT(playPosition(longSound), sampleRate * 10);
    release(longSound);
    release(shot);
    release(device);
}

TEST_F(SdlSoundOptionsTest, APausedSoundHoldsItsPlaceAndResumesFromIt) {
    EnvVar driver("SDL_AUDIODRIVER", "dummy");
    SoundDevice* device = createSoundDevice();
    ASSERT_NE(device, nullptr);
    SoundBuffer* sound = steadyBuffer(device, sampleRate * 5, 0xC0);
    play(sound, 0);
    ASSERT_TRUE(eventually([&] { return playPosition(sound) > 2000; }));
    pauseSound(device, true);
    const uint32_t pausedAt = playPosition(sound);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(playPosition(sound), pausedAt);
    EXPECT_EQ(getStatus(sound), DSBSTATUS_PLAYING);
    pauseSound(device, false);
    EXPECT_TRUE(eventually([&] { return playPosition(sound) > pausedAt; }));
    release(sound);
    release(device);
}

// The loudest sample that reached a disk "sound card" with this volume.
int loudestAtVolume(int volume) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("kordavan-volume-" + std::to_string(getpid()) + ".raw");
    {
        EnvVar driver("SDL_AUDIODRIVER", "disk");
        EnvVar path("SDL_DISKAUDIOFILE", file.c_str());
        setSoundOptions({false, volume});
        SoundDevice* device = createSoundDevice();
        if (device == nullptr) return -1;
        SoundBuffer* shot = steadyBuffer(device, sampleRate / 10, 0xE0);
        play(shot, 0);
        eventually([&] { return getStatus(shot) == 0; });
        release(shot);
        release(device);
    }
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(file);
    int loudest = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                 static_cast<uint8_t>(bytes[i + 1]) << 8);
        loudest = std::max(loudest, std::abs(int{sample}));
    }
    return loudest;
}

TEST_F(SdlSoundOptionsTest, TheVolumeScalesWhatTheDeviceGets) {
    // 0xE0 is 96 above the centre: 12288 at full volume.
    EXPECT_EQ(loudestAtVolume(100), 12288);
    EXPECT_EQ(loudestAtVolume(50), 6144);
    EXPECT_EQ(loudestAtVolume(0), 0);
}

}  // namespace
