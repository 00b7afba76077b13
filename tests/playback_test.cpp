// playSound and stopLooping on the headless sound device, where every flip
// plays one display frame of samples (22050 / 60: 367, then 368, and so on).

#include "sound/playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/headless.h"

namespace {

using platform::SoundBuffer;

constexpr uint32_t sixFrames = 367 + 368 + 367 + 368 + 367 + 368;  // 2205 samples

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        display = platform::createDisplay();
        ASSERT_TRUE(platform::queryDisplayInterface(display));
        primary = platform::createFlipChain(display);
        ASSERT_NE(primary, nullptr);
        device = platform::createSoundDevice();
        ASSERT_NE(device, nullptr);
        const platform::WaveFormat format{1, 1, 22050, 22050, 1, 8, 0};
        sound = platform::createSoundBuffer(device, format, sixFrames);
        ASSERT_NE(sound, nullptr);
        serial = platform::headless::calls().back().serial;
        other = platform::createSoundBuffer(device, format, sixFrames);
        ASSERT_NE(other, nullptr);
        platform::headless::clearCalls();
    }
    void TearDown() override {
        platform::release(other);
        platform::release(sound);
        platform::release(device);
        platform::release(primary);
        platform::release(display);
    }

    void flips(int count) {
        for (int i = 0; i < count; ++i) platform::flip(primary);
    }
    uint32_t status() const { return platform::getStatus(sound); }
    uint32_t position() const { return platform::playPosition(sound); }
    // Calls of that name made on the sound under test.
    int callsOnSound(const std::string& name) const {
        const auto& record = platform::headless::calls();
        return static_cast<int>(std::count_if(record.begin(), record.end(), [&](const auto& call) {
            return call.name == name && call.serial == serial;
        }));
    }

    platform::Display* display = nullptr;
    platform::Surface* primary = nullptr;
    platform::SoundDevice* device = nullptr;
    SoundBuffer* sound = nullptr;
    SoundBuffer* other = nullptr;
    int serial = 0;
};

// ------------------------------------------------------------ playSound

TEST_F(PlaybackTest, AnIdleSoundIsCentredAndStarted) {
    playSound(sound, 0);
    const auto& record = platform::headless::calls();
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(record[0].name, "setPan");
    EXPECT_EQ(record[1].name, "play");
    EXPECT_EQ(record[1].serial, serial);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING);
}

TEST_F(PlaybackTest, APausedDeviceHoldsEverySoundWhereItIsUntilResumed) {
    playSound(sound, 0);
    flips(1);
    platform::pauseSound(device, true);
    flips(3);
    EXPECT_EQ(position(), 367u) << "nothing plays on while paused";
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING) << "nor is it stopped";
    platform::pauseSound(device, false);
    flips(1);
    EXPECT_GE(position(), 367u + 367u) << "and on again from there";
}

TEST_F(PlaybackTest, APlayingSoundIsNotRestartedNorTurnedIntoALoop) {
    playSound(sound, 0);
    flips(2);
    ASSERT_EQ(position(), 367u + 368u);
    platform::headless::clearCalls();

    playSound(sound, platform::DSBPLAY_LOOPING);

    EXPECT_EQ(callsOnSound("play"), 0);
    EXPECT_EQ(callsOnSound("setPan"), 0);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING) << "still a one-shot";
    EXPECT_EQ(position(), 367u + 368u) << "not moved back to the start";
    flips(4);
    EXPECT_EQ(status(), 0u) << "it ends like the one-shot it is";
}

TEST_F(PlaybackTest, ALoopStaysALoopWhenPlayedOnceMore) {
    playSound(sound, platform::DSBPLAY_LOOPING);
    flips(1);
    platform::headless::clearCalls();
    playSound(sound, 0);
    EXPECT_EQ(callsOnSound("play"), 0);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING | platform::DSBSTATUS_LOOPING);
}

TEST_F(PlaybackTest, AOneShotEndsAfterItsLengthInFlipsAndStandsAtItsStart) {
    playSound(sound, 0);
    flips(5);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING);
    EXPECT_EQ(position(), sixFrames - 368);
    flips(1);
    EXPECT_EQ(status(), 0u);
    EXPECT_EQ(position(), 0u);
}

TEST_F(PlaybackTest, AnEndedOneShotPlaysAgainFromItsStart) {
    playSound(sound, 0);
    flips(6);
    ASSERT_EQ(status(), 0u);
    platform::headless::clearCalls();
    playSound(sound, 0);
    EXPECT_EQ(callsOnSound("play"), 1);
    flips(1);
    EXPECT_EQ(position(), 367u);
}

TEST_F(PlaybackTest, ALoopKeepsPlayingPastItsEnd) {
    playSound(sound, platform::DSBPLAY_LOOPING);
    flips(6);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING | platform::DSBSTATUS_LOOPING);
    EXPECT_EQ(position(), 0u);
    flips(61);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING | platform::DSBSTATUS_LOOPING);
    EXPECT_EQ(position(), 367u);
}

TEST_F(PlaybackTest, TwoCallsInOneFramePlayTheSoundOnce) {
    playSound(sound, 0);
    playSound(sound, 0);
    EXPECT_EQ(callsOnSound("play"), 1);
    EXPECT_EQ(callsOnSound("setPan"), 1);
    flips(1);
    EXPECT_EQ(position(), 367u);
}

TEST_F(PlaybackTest, EachSoundHasItsOwnStatus) {
    playSound(sound, 0);
    playSound(other, platform::DSBPLAY_LOOPING);
    EXPECT_EQ(callsOnSound("play"), 1);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING);
    EXPECT_EQ(platform::getStatus(other),
              platform::DSBSTATUS_PLAYING | platform::DSBSTATUS_LOOPING);
}

// ------------------------------------------------------------ stopLooping

TEST_F(PlaybackTest, StoppingALoopKeepsItsPositionAndPlayResumesThere) {
    playSound(sound, platform::DSBPLAY_LOOPING);
    flips(3);
    const uint32_t stoppedAt = 367 + 368 + 367;
    ASSERT_EQ(position(), stoppedAt);

    stopLooping(sound);
    EXPECT_EQ(callsOnSound("stop"), 1);
    EXPECT_EQ(status(), 0u);
    EXPECT_EQ(position(), stoppedAt);
    flips(2);
    EXPECT_EQ(position(), stoppedAt) << "a stopped sound does not move";

    playSound(sound, platform::DSBPLAY_LOOPING);
    flips(1);
    EXPECT_EQ(position(), stoppedAt + 368) << "it goes on from where it stopped";
}

TEST_F(PlaybackTest, StoppingDoesNotCutOffAOneShot) {
    playSound(sound, 0);
    flips(1);
    stopLooping(sound);
    EXPECT_EQ(callsOnSound("stop"), 0);
    EXPECT_EQ(status(), platform::DSBSTATUS_PLAYING);
    flips(1);
    EXPECT_EQ(position(), 367u + 368u);
}

TEST_F(PlaybackTest, StoppingAnIdleSoundDoesNothing) {
    stopLooping(sound);
    EXPECT_EQ(callsOnSound("stop"), 0);
    EXPECT_EQ(status(), 0u);
}

TEST_F(PlaybackTest, StoppingOneLoopLeavesTheOthers) {
    playSound(sound, platform::DSBPLAY_LOOPING);
    playSound(other, platform::DSBPLAY_LOOPING);
    stopLooping(sound);
    EXPECT_EQ(status(), 0u);
    EXPECT_EQ(platform::getStatus(other),
              platform::DSBSTATUS_PLAYING | platform::DSBSTATUS_LOOPING);
}

}  // namespace
