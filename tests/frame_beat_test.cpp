// The loop's one clock, driven as a browser drives it: one call of runFrame
// per display frame, whatever the display's rate, with the clock standing at
// the frame's time. The game must still step sixty times a second, once per
// frame at most, and never catch up after a stall.

#include <gtest/gtest.h>

#include <cmath>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "platform/headless.h"
#include "tests/loop_hooks.h"

namespace {

StepHooks hooks;

int steps = 0;

void countStep() {
    ++steps;
}

class FrameBeatTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        platform::headless::setAutoAdvance(0);
        platform::headless::setMicroseconds(5'000'000);
        appWindow = nullptr;
        game = GameState{};
        steps = 0;
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
        hooks.set(countStep, nullptr, nullptr);
        beginLoop(LoopStart::game(), deviceControls(), {&hooks});
    }
    void TearDown() override {
        hooks.set(nullptr, nullptr);
        endProgram();
        platform::headless::use();
        game = GameState{};
    }

    // Display frames at `hertz` for `seconds`, each up to `jitter`
    // microseconds early or late; the steps they ran.
    static int display(double hertz, int64_t jitter, double seconds, int64_t start = 5'000'000) {
        const int before = steps;
        const auto frames = static_cast<int>(std::lround(hertz * seconds));
        for (int i = 0; i < frames; ++i) {
            const int64_t wobble = i % 3 == 0 ? jitter : (i % 3 == 1 ? -jitter : 0);
            const auto at = start + std::llround(i * 1e6 / hertz) + wobble;
            platform::headless::setMicroseconds(at);
            EXPECT_TRUE(runFrame());
        }
        return steps - before;
    }
};

TEST_F(FrameBeatTest, ASixtyHertzDisplayStepsInEveryFrameDespiteItsWobble) {
    // The first frame only sets the step timer going.
    EXPECT_EQ(display(60.0, 1'500, 10.0), 599);
}

TEST_F(FrameBeatTest, FasterDisplaysStillStepSixtyTimesASecond) {
    int64_t start = 5'000'000;
    for (const double hertz : {75.0, 120.0, 144.0, 165.0, 240.0}) {
        EXPECT_NEAR(display(hertz, 300, 10.0, start), 600, 7) << hertz << " Hz";
        start += 20'000'000;
    }
}

TEST_F(FrameBeatTest, ASlowerDisplayStepsInEveryFrameItHas) {
    EXPECT_EQ(display(50.0, 0, 10.0), 499);
}

TEST_F(FrameBeatTest, AfterAStallTheStepsGoOnWithoutCatchingUp) {
    display(144.0, 0, 1.0);
    // The page was hidden for two seconds; a fast display then offers a
    // frame every 7 ms, but the beat starts afresh instead of making up.
    EXPECT_NEAR(display(144.0, 0, 1.0, 8'000'000), 60, 2);
}

TEST_F(FrameBeatTest, TheTitleShowsOnePassPerBeat) {
    beginLoop(LoopStart::title(), deviceControls(), {&hooks});
    const int flipsBefore = platform::headless::flipCount();
    display(240.0, 0, 2.0);
    EXPECT_NEAR(platform::headless::flipCount() - flipsBefore, 120, 2);
}

}  // namespace
