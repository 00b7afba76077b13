// The machine's newer services on the headless back end: waiting for a
// message, taking a close request out of turn, pausing and turning down the
// sound, and the display choice.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {

using namespace platform;

std::vector<MessageKind> dispatched;

int64_t recordingProc(Window* window, MessageKind kind, int64_t wParam) {
    dispatched.push_back(kind);
    if (kind == MessageKind::Destroy) postQuitMessage(0);
    return defWindowProc(window, kind, wParam);
}

class PlatformOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::use();
        dispatched.clear();
    }
    void TearDown() override {
        if (window != nullptr) destroyWindow(window);
        Message drained;
        while (peekMessage(drained)) {
        }
        unregisterWindowClass();
        setSoundOptions(SoundOptions{});
        headless::use();
    }
    void openWindow() {
        ASSERT_TRUE(registerWindowClass(gameModule(), recordingProc, 139));
        window = createWindow("Kordavan", 640, 480);
        ASSERT_NE(window, nullptr);
    }
    std::vector<MessageKind> drain() {
        std::vector<MessageKind> kinds;
        Message message;
        while (peekMessage(message)) kinds.push_back(message.kind);
        return kinds;
    }

    Window* window = nullptr;
};

// ---------------------------------------------------------------- waiting

TEST_F(PlatformOptionsTest, WithNothingToDoTheWaitGoesToTheMachineForTheWholeTime) {
    openWindow();
    headless::setMicroseconds(1000);
    EXPECT_FALSE(waitForMessage(16'667));
    EXPECT_EQ(headless::waitCount(), 1);
    EXPECT_EQ(headless::lastWaitMicroseconds(), 16'667);
    // The headless clock moves only when a test says so.
    EXPECT_EQ(queryPerformanceCounter(), 1000);
}

TEST_F(PlatformOptionsTest, AMessageArrivingEndsTheWaitAndStaysQueued) {
    openWindow();
    headless::postSystemMessage(MessageKind::FocusLost);
    EXPECT_TRUE(waitForMessage(16'667));
    EXPECT_EQ(drain(), std::vector<MessageKind>{MessageKind::FocusLost});
}

TEST_F(PlatformOptionsTest, AMessageAlreadyQueuedMeansNoWaitAtAll) {
    openWindow();
    headless::postSystemMessage(MessageKind::FocusGained);
    takeCloseRequest();  // pumps the focus message into the queue
    EXPECT_TRUE(waitForMessage(16'667));
    EXPECT_EQ(headless::waitCount(), 0);
}

TEST_F(PlatformOptionsTest, ThePostedQuitMessageEndsAnyWait) {
    openWindow();
    destroyWindow(window);
    window = nullptr;
    EXPECT_TRUE(waitForMessage(16'667));
    EXPECT_EQ(headless::waitCount(), 0);
    EXPECT_EQ(drain(), std::vector<MessageKind>{MessageKind::Quit});
}

TEST_F(PlatformOptionsTest, NoTimeOrNoWindowMeansNoWait) {
    EXPECT_FALSE(waitForMessage(16'667));
    openWindow();
    EXPECT_FALSE(waitForMessage(0));
    EXPECT_FALSE(waitForMessage(-5));
    EXPECT_EQ(headless::waitCount(), 0);
}

// ---------------------------------------------------------------- close requests

TEST_F(PlatformOptionsTest, ACloseRequestIsTakenOutAndTheOtherMessagesKeepTheirOrder) {
    openWindow();
    headless::postSystemMessage(MessageKind::FocusLost);
    headless::postSystemMessage(MessageKind::Close);
    headless::postSystemMessage(MessageKind::FocusGained);
    EXPECT_TRUE(takeCloseRequest());
    EXPECT_FALSE(takeCloseRequest());
    // Nothing reached the window procedure: the caller decides what a close means.
    EXPECT_TRUE(dispatched.empty());
    EXPECT_EQ(drain(),
              (std::vector<MessageKind>{MessageKind::FocusLost, MessageKind::FocusGained}));
}

TEST_F(PlatformOptionsTest, WithoutACloseRequestNothingIsTaken) {
    openWindow();
    headless::postSystemMessage(MessageKind::FocusLost);
    EXPECT_FALSE(takeCloseRequest());
    EXPECT_EQ(drain(), std::vector<MessageKind>{MessageKind::FocusLost});
}

TEST_F(PlatformOptionsTest, TwoCloseRequestsAreTakenOneAtATime) {
    openWindow();
    headless::postSystemMessage(MessageKind::Close);
    headless::postSystemMessage(MessageKind::Close);
    EXPECT_TRUE(takeCloseRequest());
    EXPECT_TRUE(takeCloseRequest());
    EXPECT_FALSE(takeCloseRequest());
}

// ---------------------------------------------------------------- sound

const WaveFormat monoByteFormat{1, 1, 22050, 22050, 1, 8, 0};

SoundBuffer* loudBuffer(SoundDevice* device, uint32_t samples, uint8_t value = 0xE0) {
    SoundBuffer* buffer = createSoundBuffer(device, monoByteFormat, samples);
    uint8_t* region = nullptr;
    uint32_t length = 0;
    if (buffer == nullptr || !lockBuffer(buffer, 0, samples, &region, &length)) return nullptr;
    std::fill(region, region + length, value);
    unlockBuffer(buffer, region, length);
    return buffer;
}

class SoundOptionsTest : public PlatformOptionsTest {
  protected:
    void SetUp() override {
        PlatformOptionsTest::SetUp();
        device = createSoundDevice();
        ASSERT_NE(device, nullptr);
    }
    void TearDown() override {
        release(device);
        PlatformOptionsTest::TearDown();
    }
    int16_t mixOne() {
        int16_t out[8] = {};
        mixSoundBuffers(device, out, 8);
        return out[7];
    }

    SoundDevice* device = nullptr;
};

TEST_F(SoundOptionsTest, WhilePausedNothingPlaysAndNothingMovesOn) {
    SoundBuffer* sound = loudBuffer(device, 22050);
    ASSERT_NE(sound, nullptr);
    play(sound, 0);
    mixSoundBuffers(device, nullptr, 1000);
    ASSERT_EQ(playPosition(sound), 1000u);

    pauseSound(device, true);
    int16_t out[500];
    std::fill(std::begin(out), std::end(out), int16_t{99});
    mixSoundBuffers(device, out, 500);
    EXPECT_TRUE(std::all_of(std::begin(out), std::end(out), [](int16_t s) { return s == 0; }));
    EXPECT_EQ(playPosition(sound), 1000u);
    // Paused is not stopped: the game still sees its sound playing.
    EXPECT_EQ(getStatus(sound), DSBSTATUS_PLAYING);

    pauseSound(device, false);
    mixSoundBuffers(device, nullptr, 500);
    EXPECT_EQ(playPosition(sound), 1500u);
    release(sound);
}

TEST_F(SoundOptionsTest, APausedLoopStaysWhereItWas) {
    SoundBuffer* loop = loudBuffer(device, 100);
    ASSERT_NE(loop, nullptr);
    play(loop, DSBPLAY_LOOPING);
    mixSoundBuffers(device, nullptr, 250);
    ASSERT_EQ(playPosition(loop), 50u);
    pauseSound(device, true);
    mixSoundBuffers(device, nullptr, 1000);
    EXPECT_EQ(playPosition(loop), 50u);
    EXPECT_EQ(getStatus(loop), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    release(loop);
}

TEST_F(SoundOptionsTest, TheHeadlessFlipDoesNotAdvanceAPausedSound) {
    Display* display = createDisplay();
    Surface* primary = createFlipChain(display);
    ASSERT_NE(primary, nullptr);
    SoundBuffer* sound = loudBuffer(device, 22050);
    play(sound, 0);
    pauseSound(device, true);
    for (int i = 0; i < 10; ++i) flip(primary);
    EXPECT_EQ(playPosition(sound), 0u);
    pauseSound(device, false);
    flip(primary);
    EXPECT_GT(playPosition(sound), 0u);
    release(sound);
    release(primary);
    release(display);
}

TEST_F(SoundOptionsTest, FullVolumeMixesAsAlways) {
    SoundBuffer* sound = loudBuffer(device, 100);
    play(sound, 0);
    // 0xE0 is 96 above the 8-bit centre, 96 * 128 in 16 bits.
    EXPECT_EQ(mixOne(), 12288);
    release(sound);
}

TEST_F(SoundOptionsTest, TheVolumeScalesEverySoundAndActsAtOnce) {
    SoundBuffer* sound = loudBuffer(device, 100, 0x20);
    play(sound, DSBPLAY_LOOPING);
    setSoundOptions({false, 50});
    EXPECT_EQ(mixOne(), -6144);
    setSoundOptions({false, 25});
    EXPECT_EQ(mixOne(), -3072);
    setSoundOptions({false, 0});
    EXPECT_EQ(mixOne(), 0);
    release(sound);
}

TEST_F(SoundOptionsTest, TurnedDownLoudSoundsAddUpInsteadOfSaturating) {
    std::vector<SoundBuffer*> sounds;
    for (int i = 0; i < 3; ++i) {
        sounds.push_back(loudBuffer(device, 100, 0xFF));
        play(sounds.back(), 0);
    }
    EXPECT_EQ(mixOne(), 32767);  // three full-scale sounds saturate at full volume
    setSoundOptions({false, 40});
    EXPECT_EQ(mixOne(), 3 * (127 * 128 * 40 / 100));
    for (SoundBuffer* sound : sounds) release(sound);
}

TEST(SoundOptions, TheVolumeIsKeptFrom0To100) {
    setSoundOptions({true, 150});
    EXPECT_EQ(soundOptions().volume, 100);
    EXPECT_TRUE(soundOptions().silent);
    setSoundOptions({false, -20});
    EXPECT_EQ(soundOptions().volume, 0);
    setSoundOptions(SoundOptions{});
    EXPECT_EQ(soundOptions().volume, 100);
    EXPECT_FALSE(soundOptions().silent);
}

// A machine that remembers whether the next sound device was to be silent.
class SilenceRecorder final : public Backend {
  public:
    std::vector<bool> silentAtOpen;
    bool silent = false;

    bool startVideo(const Module*, int) override { return true; }
    void stopVideo() override {}
    bool openWindow(const char*, int, int) override { return true; }
    void closeWindow() override {}
    void setCursorVisible(bool) override {}
    DesktopSize desktopSize() override { return {640, 480}; }
    void pumpEvents(std::deque<Message>&) override {}
    void showMessageBox(const char*, const char*) override {}
    bool openScreen(int, int) override { return true; }
    void closeScreen() override {}
    void present(const Surface&) override {}
    bool performanceFrequency(int64_t& frequency) override {
        frequency = 1;
        return true;
    }
    int64_t performanceCounter() override { return 0; }
    uint32_t milliseconds() override { return 0; }
    bool openAudio(SoundDevice*) override {
        silentAtOpen.push_back(silent);
        return true;
    }
    void closeAudio() override {}
    void setSilentAudio(bool value) override { silent = value; }
    bool hasKeyboardFocus() override { return true; }
    void readKeys(uint8_t (&state)[256]) override { std::fill(state, state + 256, uint8_t{0}); }
};

TEST(SoundOptions, SilenceIsAskedForBeforeTheDeviceOpens) {
    SilenceRecorder machine;
    useBackend(&machine);
    setSoundOptions({true, 100});
    release(createSoundDevice());
    setSoundOptions({false, 100});
    release(createSoundDevice());
    headless::use();
    EXPECT_EQ(machine.silentAtOpen, (std::vector<bool>{true, false}));
}

// ---------------------------------------------------------------- display

TEST_F(PlatformOptionsTest, TheDisplayChoiceStartsFullScreenAtTheLargestScale) {
    const DisplayOptions options = displayOptions();
    EXPECT_TRUE(options.fullscreen);
    EXPECT_EQ(options.scale, 0);
    EXPECT_FALSE(options.integerScale);
}

}  // namespace
