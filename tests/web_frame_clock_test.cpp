// The browser's frame clock: which display frames run a game frame, and the
// time the game's step timer reads during them.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/web/frame_clock.h"

namespace {

using platform::web::FrameClock;
using platform::web::frameClockBeat;
using platform::web::frameClockFrequency;
using platform::web::takeDisplayFrame;

constexpr int64_t second = 1'000'000'000;

// The display frames of a display at `hertz`, each up to `jitter`
// nanoseconds early or late, over `seconds`; the beats of those that ran.
std::vector<int64_t> run(FrameClock& clock, double hertz, int64_t jitter, int seconds) {
    std::vector<int64_t> beats;
    const auto frames = static_cast<int>(hertz * seconds);
    for (int i = 0; i < frames; ++i) {
        const int64_t wobble = i % 3 == 0 ? jitter : (i % 3 == 1 ? -jitter : 0);
        const auto now = static_cast<int64_t>(i * (second / hertz)) + 5 * second + wobble;
        if (takeDisplayFrame(clock, now)) beats.push_back(clock.beat);
    }
    return beats;
}

// The game's step timer runs a step when the clock has passed the last
// step's time by more than frequency / 60 ticks.
int stepsTaken(const std::vector<int64_t>& beats) {
    const int64_t stepTicks = frameClockFrequency / 60;
    int steps = 0;
    int64_t next = beats.front();
    for (int64_t now : beats) {
        if (now > next) {
            ++steps;
            next = now + stepTicks;
        }
    }
    return steps;
}

TEST(WebFrameClock, ASixtyHertzDisplayRunsEveryFrameAndAStepInEach) {
    FrameClock clock;
    const std::vector<int64_t> beats = run(clock, 60.0, 1'500'000, 10);
    EXPECT_EQ(beats.size(), 600u);
    for (size_t i = 1; i < beats.size(); ++i) EXPECT_EQ(beats[i] - beats[i - 1], frameClockBeat);
    EXPECT_EQ(stepsTaken(beats), 599);
}

TEST(WebFrameClock, FasterDisplaysStillRunSixtyFramesASecond) {
    for (double hertz : {75.0, 120.0, 144.0, 165.0, 240.0}) {
        FrameClock clock;
        const std::vector<int64_t> beats = run(clock, hertz, 300'000, 10);
        EXPECT_NEAR(static_cast<double>(beats.size()), 600.0, 6.0) << hertz << " Hz";
        EXPECT_NEAR(stepsTaken(beats), 600, 7) << hertz << " Hz";
    }
}

TEST(WebFrameClock, ASlowerDisplayRunsEveryFrameItHas) {
    FrameClock clock;
    const std::vector<int64_t> beats = run(clock, 50.0, 0, 10);
    EXPECT_EQ(beats.size(), 500u);
    EXPECT_EQ(stepsTaken(beats), 499);
}

TEST(WebFrameClock, AfterAPauseTheBeatStartsAfreshWithoutCatchingUp) {
    FrameClock clock;
    ASSERT_TRUE(takeDisplayFrame(clock, second));
    ASSERT_TRUE(takeDisplayFrame(clock, second + frameClockBeat));
    // The page was hidden for two seconds.
    const int64_t back = 3 * second;
    ASSERT_TRUE(takeDisplayFrame(clock, back));
    EXPECT_EQ(clock.beat, back);
    EXPECT_FALSE(takeDisplayFrame(clock, back + 1'000'000));
    EXPECT_TRUE(takeDisplayFrame(clock, back + frameClockBeat));
    EXPECT_EQ(clock.beat, back + frameClockBeat);
}

TEST(WebFrameClock, TheClockNeverRunsBackwards) {
    FrameClock clock;
    int64_t last = 0;
    for (int64_t now = second; now < 3 * second; now += 7'000'000) {
        if (takeDisplayFrame(clock, now)) {
            EXPECT_GE(clock.beat, last);
            last = clock.beat;
        }
    }
}

}  // namespace
