// The game's steps on the real clock, with SDL's own dummy drivers: between
// steps the loop sleeps, yet each step still starts as soon as its time has
// come, a sixtieth of a second after the one before.

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "tests/sdl_test_support.h"

namespace {

constexpr int steps = 120;
std::vector<int64_t> stepStarts;  // the performance counter at each step's start

void recordStart() {
    stepStarts.push_back(platform::queryPerformanceCounter());
}

// The player's keys, until enough steps have run.
class UntilEnoughSteps : public ControlSource {
  public:
    Controls poll(LoopPhase phase, bool paused) override {
        return deviceControls().poll(phase, paused);
    }
    bool done() const override { return static_cast<int>(stepStarts.size()) >= steps; }
};

class StepStarts : public LoopListener {
  public:
    void heard(const LoopEvent& event) override {
        if (event.kind == LoopEventKind::stepBegins) recordStart();
    }
};

long voluntarySwitches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

// Runs the game phase in a child on SDL's dummy drivers. Its answer: 0 when
// the median step started within a millisecond of its time and the loop
// slept between steps; 1 and 2 for each of the two faults; 3 if start-up failed.
int playSteps() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::useSdlBackend();
    if (initApplication(platform::gameModule(), 1) == 0) return 3;
    int64_t frequency = 0;
    platform::queryPerformanceFrequency(frequency);
    UntilEnoughSteps source;
    StepStarts listener;
    const long switchesBefore = voluntarySwitches();
    runMainLoop(LoopStart::game(), source, {&listener});
    const long switches = voluntarySwitches() - switchesBefore;
    platform::finish();

    // A step is due a sixtieth of a second after the one before; how far
    // from that did each one start?
    std::vector<double> lateness;
    for (size_t i = 1; i < stepStarts.size(); ++i) {
        const double apart = static_cast<double>(stepStarts[i] - stepStarts[i - 1]) / frequency;
        lateness.push_back(apart - 1.0 / 60.0);
    }
    std::sort(lateness.begin(), lateness.end());
    const double median = lateness[lateness.size() / 2];
    std::fprintf(stderr, "median offset %.3f ms, %ld voluntary switches in %d steps\n",
                 median * 1000, switches, steps);
    if (median < -0.001 || median > 0.001) return 1;
    // A busy wait never gives the processor up; a sleeping loop does, every step.
    if (switches < steps / 2) return 2;
    return 0;
}

TEST(SdlStepTimingTest, StepsStartOnTimeAndTheLoopSleepsBetweenThem) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer build draws too slowly for the step times to mean anything";
#endif
    const int answer = sdltest::runInChild(playSteps);
    EXPECT_NE(answer, 1) << "steps do not start within a millisecond of their time";
    EXPECT_NE(answer, 2) << "the loop did not sleep between steps";
    EXPECT_EQ(answer, 0);
    platform::headless::use();
}

}  // namespace
