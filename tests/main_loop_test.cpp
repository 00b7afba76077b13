// The main loop on the headless machine after a real start-up: the title
// sequence counted in passes (one flip each), the game phase's step timing,
// and the way back to the title after a game.

#include "app/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/headless.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"
#include "tests/loop_hooks.h"

namespace {

StepHooks hooks;

using platform::DIK_ESCAPE;
using platform::DIK_RETURN;
using platform::DIK_SPACE;
using platform::headless::Snapshot;

// Far more passes than any test needs: a loop that never ends is stopped
// with Escape instead of hanging the test run.
constexpr int passLimit = 4000;

// A drawKeyed call, kept by the picture's catalogue name: the surfaces
// themselves are gone once the program has ended.
struct Draw {
    int pass;  // flips before this draw
    std::string source;
    int sourceWidth;
    int sourceHeight;
    Rect rect;
    int x;
    int y;
};

// What the observers saw; plain statics because observers are plain functions.
struct Seen {
    std::vector<Draw> draws;
    std::vector<int64_t> stepTimes;  // the clock read just before each runGame
    std::vector<int> stepPasses;     // flips before each runGame
    int startSounds = 0;
    int stepLimit = 1000;
    bool useCounter = true;
    int64_t jumpAfterStep = -1;  // step after which the clock jumps ahead
    bool closeAfterSecondStep = false;
    std::vector<int> results;
    // The lost game: the helicopter's x while the failure picture shows, and
    // the state right after the reset.
    double heliXOnFailurePicture = -1;
    GameState afterReset;
    bool reset = false;
};
Seen seen;

void escape() {
    platform::headless::setKeys({DIK_ESCAPE});
}

void recordDraw(const Surface* source, const Rect& rect, int x, int y) {
    const int pass = platform::headless::flipCount();
    seen.draws.push_back(Draw{pass, surfaceName(source), source ? source->width : 0,
                              source ? source->height : 0, rect, x, y});
    if (pass >= passLimit) escape();
}

void recordSound(bool play, const SoundBuffer* buffer, uint32_t) {
    if (play && buffer == sndStart) ++seen.startSounds;
}

void recordStep() {
    seen.stepPasses.push_back(platform::headless::flipCount());
    seen.stepTimes.push_back(seen.useCounter ? platform::queryPerformanceCounter()
                                             : static_cast<int64_t>(platform::timeGetTime()));
    if (static_cast<int>(seen.stepPasses.size()) >= seen.stepLimit) escape();
}

void afterStep(int result) {
    seen.results.push_back(result);
    const auto steps = static_cast<int64_t>(seen.results.size());
    if (steps == seen.jumpAfterStep) platform::headless::advanceMicroseconds(1'000'000);
    if (steps == 2 && seen.closeAfterSecondStep) {
        platform::headless::postSystemMessage(platform::MessageKind::Close);
    }
}

bool drawn(const Draw& d) {
    return d.sourceWidth > 0 && d.rect.left < d.rect.right && d.rect.top < d.rect.bottom &&
           d.rect.left >= 0 && d.rect.top >= 0 && d.rect.right <= d.sourceWidth &&
           d.rect.bottom <= d.sourceHeight && d.x >= 0 && d.y >= 0 &&
           d.x + (d.rect.right - d.rect.left) <= 640 && d.y + (d.rect.bottom - d.rect.top) <= 480;
}

std::vector<Draw> drawsOf(const std::string& source) {
    std::vector<Draw> out;
    std::copy_if(seen.draws.begin(), seen.draws.end(), std::back_inserter(out),
                 [&](const Draw& d) { return d.source == source; });
    return out;
}

int firstDrawnPass(const std::string& source) {
    for (const Draw& d : seen.draws) {
        if (d.source == source && drawn(d)) return d.pass;
    }
    return -1;
}

// `before` passes without keys, one with Space, then `after` without keys.
std::vector<Snapshot> spaceAfter(int before, int after) {
    std::vector<Snapshot> script(static_cast<size_t>(before));
    script.push_back({DIK_SPACE});
    script.resize(script.size() + static_cast<size_t>(after));
    return script;
}

bool sameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class MainLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        platform::headless::setAutoAdvance(100);
        seen = Seen{};
        game = GameState{};
        appWindow = nullptr;
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
        setDrawObserver(recordDraw);
        setSoundObserver(recordSound);
        hooks.set(recordStep, afterStep);
    }
    void TearDown() override {
        setDrawObserver(nullptr);
        setSoundObserver(nullptr);
        hooks.set(nullptr, nullptr);
        shutdownApp();
        platform::destroyWindow(appWindow);
        appWindow = nullptr;
        game = GameState{};
    }

    // Runs the program from the title until it quits; its exit code.
    static int run() {
        const int exitCode = runMainLoop(LoopStart::title(), deviceControls(), {&hooks});
        appWindow = nullptr;  // destroyed on the way out
        return exitCode;
    }
};

// ------------------------------------------------------------ loading sequence

TEST_F(MainLoopTest, TheLoadingPictureFirstShows27PassesAfterSpace) {
    const int spacePass = 5;
    platform::headless::setKeyScript(spaceAfter(spacePass, 40), escape);
    EXPECT_EQ(run(), 0);

    EXPECT_EQ(seen.startSounds, 1);
    EXPECT_EQ(firstDrawnPass("surfLoading"), spacePass + 27);
    for (const Draw& d : drawsOf("surfLoading")) {
        if (d.pass != spacePass + 27) continue;
        // Half-width 81: 162 pixels wide and 2 high, about the screen centre.
        EXPECT_TRUE(sameRect(d.rect, Rect{239, 0, 401, 2}));
        EXPECT_EQ(d.x, 239);
        EXPECT_EQ(d.y, 239);
    }
}

TEST_F(MainLoopTest, TheCreditsPanelGoesAwayOnceSpaceIsSeen) {
    const int spacePass = 5;
    platform::headless::setKeyScript(spaceAfter(spacePass, 10), escape);
    EXPECT_EQ(run(), 0);
    for (const Draw& d : drawsOf("surfCredits")) EXPECT_LE(d.pass, spacePass);
    EXPECT_EQ(drawsOf("surfCredits").size(), static_cast<size_t>(spacePass + 1));
}

TEST_F(MainLoopTest, TheLoadingBarFirstShowsWhenThePictureFillsTheScreen) {
    const int spacePass = 2;
    platform::headless::setKeyScript(spaceAfter(spacePass, 120), escape);
    EXPECT_EQ(run(), 0);

    const int barPass = spacePass + 107;
    const std::vector<Draw> frames = drawsOf("surfBarFrame");
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front().pass, barPass) << "no bar before the opening reaches 320";
    EXPECT_TRUE(drawn(frames.front()));
    EXPECT_EQ(frames.front().x, 144);
    EXPECT_EQ(frames.front().y, 380);

    const std::vector<Draw> fills = drawsOf("surfBarFill");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().pass, barPass);
    EXPECT_EQ(fills.front().rect.right, 54) << "half of the loading passes counted so far";

    for (const Draw& d : drawsOf("surfLoading")) {
        if (d.pass < barPass - 1) {
            EXPECT_LT(d.rect.right - d.rect.left, 640) << d.pass;
        }
        if (d.pass == barPass - 1) {
            EXPECT_EQ(d.rect.right - d.rect.left, 636);
        }
        if (d.pass >= barPass) {
            EXPECT_TRUE(sameRect(d.rect, Rect{0, 0, 640, 480}));
            EXPECT_EQ(d.x, 0);
            EXPECT_EQ(d.y, 0);
        }
    }
    // The fill is drawn over the frame, in the same pass.
    const auto frame = std::find_if(seen.draws.begin(), seen.draws.end(),
                                    [](const Draw& d) { return d.source == "surfBarFrame"; });
    ASSERT_NE(frame + 1, seen.draws.end());
    EXPECT_EQ((frame + 1)->source, "surfBarFill");
}

TEST_F(MainLoopTest, TheGameBegins700PassesAfterSpace) {
    const int spacePass = 3;
    platform::headless::setKeyScript(spaceAfter(spacePass, 700));
    seen.stepLimit = 1;
    EXPECT_EQ(run(), 0);

    ASSERT_EQ(seen.stepPasses.size(), 1u);
    EXPECT_EQ(seen.stepPasses.front(), spacePass + 700);
    const std::vector<Draw> fills = drawsOf("surfBarFill");
    ASSERT_FALSE(fills.empty());
    const auto lastTitleFill = std::find_if(fills.rbegin(), fills.rend(),
                                            [](const Draw& d) { return d.x == 144 && d.y == 380; });
    ASSERT_NE(lastTitleFill, fills.rend());
    EXPECT_EQ(lastTitleFill->pass, spacePass + 699);
    EXPECT_EQ(lastTitleFill->rect.right, 350) << "the bar ends 2 pixels short of its frame";
    EXPECT_EQ(platform::headless::flipCount(), spacePass + 701) << "one game step was shown";
}

TEST_F(MainLoopTest, TheTitleMusicStopsWhenTheGameBegins) {
    platform::headless::setKeyScript(spaceAfter(0, 700));
    seen.stepLimit = 1;
    hooks.set(
        [] {
            EXPECT_EQ(platform::getStatus(sndTitleMusic), 0u);
            recordStep();
        },
        afterStep);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(seen.stepPasses.size(), 1u);
}

TEST_F(MainLoopTest, HoldingSpaceDuringTheLoadingChangesNothing) {
    std::vector<Snapshot> script(2);
    script.resize(2 + 700, Snapshot{DIK_SPACE});
    platform::headless::setKeyScript(script);
    seen.stepLimit = 1;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(seen.startSounds, 1) << "the start sound plays once";
    ASSERT_EQ(seen.stepPasses.size(), 1u);
    EXPECT_EQ(seen.stepPasses.front(), 2 + 700) << "the loading is not set back";
}

TEST_F(MainLoopTest, TheStartSoundPlaysWhenSpaceIsSeen) {
    platform::headless::setKeyScript(spaceAfter(1, 1), escape);
    setSoundObserver([](bool play, const SoundBuffer* buffer, uint32_t flags) {
        if (play && buffer == sndStart) {
            EXPECT_EQ(flags, 0u);
            EXPECT_EQ(platform::headless::flipCount(), 2) << "after the flip of the pass";
            ++seen.startSounds;
        }
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(seen.startSounds, 1);
}

// ------------------------------------------------------------ credits

TEST_F(MainLoopTest, TheCreditsScrollAndComeRoundAgain) {
    setDrawObserver([](const Surface* source, const Rect& rect, int x, int y) {
        recordDraw(source, rect, x, y);
        if (source == surfTitle && platform::headless::flipCount() >= 2100) escape();
    });
    EXPECT_EQ(run(), 0);

    const std::vector<Draw> credits = drawsOf("surfCredits");
    ASSERT_GE(credits.size(), 2100u);
    EXPECT_TRUE(sameRect(credits[0].rect, Rect{0, 0, 288, 135}));
    EXPECT_EQ(credits[0].x, 320);
    EXPECT_EQ(credits[0].y, 150);

    size_t wrap = 0;
    for (size_t i = 1; i < credits.size() && wrap == 0; ++i) {
        if (credits[i].rect.top < credits[i - 1].rect.top) wrap = i;
    }
    // 0.3 rows a pass: past 600 after about 2000 passes, then from 0 again.
    EXPECT_GE(wrap, 2000u);
    EXPECT_LE(wrap, 2003u);
    EXPECT_EQ(credits[wrap].rect.top, 0);
    EXPECT_GE(credits[wrap - 1].rect.top, 599);

    int shown = 0;
    for (size_t i = 0; i < wrap; ++i) {
        const Draw& d = credits[i];
        EXPECT_EQ(d.pass, static_cast<int>(i));
        // Top and bottom are each truncated on their own, so the window is 135
        // or, now and then, 136 rows high.
        EXPECT_GE(d.rect.bottom - d.rect.top, 135) << i;
        EXPECT_LE(d.rect.bottom - d.rect.top, 136) << i;
        const int expectedTop = static_cast<int>(0.3 * static_cast<double>(i));
        EXPECT_LE(std::abs(d.rect.top - expectedTop), 1) << i;
        if (i > 0) {
            EXPECT_LE(d.rect.top - credits[i - 1].rect.top, 1) << i;
        }
        // From 474 on the window reaches past the panel's last row.
        if (d.rect.top >= 474) {
            EXPECT_FALSE(drawn(d)) << "top " << d.rect.top;
        }
        if (d.rect.top < 473) {
            EXPECT_TRUE(drawn(d)) << "top " << d.rect.top;
        }
        shown += drawn(d);
    }
    EXPECT_GE(shown, 1575);
    EXPECT_LE(shown, 1585);
}

// ------------------------------------------------------------ quitting

TEST_F(MainLoopTest, EscapeOnTheTitleEndsTheProgramWithZero) {
    platform::headless::setKeyScript({{}, {}, {DIK_ESCAPE}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform::headless::flipCount(), 3);
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_TRUE(seen.stepPasses.empty());
}

TEST_F(MainLoopTest, SpaceWithEscapeStartsTheSoundAndThenEnds) {
    platform::headless::setKeyScript({{DIK_SPACE, DIK_ESCAPE}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(seen.startSounds, 1);
    EXPECT_EQ(platform::headless::flipCount(), 1);
}

TEST_F(MainLoopTest, AClosedWindowEndsTheGamePhaseBeforeAnotherStep) {
    seen.closeAfterSecondStep = true;
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;
    EXPECT_EQ(seen.stepPasses.size(), 2u);
    EXPECT_EQ(directDraw, nullptr);
}

TEST_F(MainLoopTest, EscapeAfterAGameStepEndsTheProgramWithZero) {
    seen.stepLimit = 4;
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;
    EXPECT_EQ(seen.stepPasses.size(), 4u);
    EXPECT_EQ(platform::headless::flipCount(), 4) << "each step shows one frame";
    EXPECT_EQ(directDraw, nullptr);
}

// ------------------------------------------------------------ step timing

TEST_F(MainLoopTest, WithThePerformanceCounterStepsAreASixtiethOfASecondApart) {
    platform::headless::setAutoAdvance(1);
    seen.stepLimit = 6;
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;
    ASSERT_EQ(seen.stepTimes.size(), 6u);
    // The counter runs at 1 MHz: a step is due once 16666 ticks have passed.
    // A loop that does not sleep meets each step a quarter of it early.
    for (size_t i = 2; i < seen.stepTimes.size(); ++i) {
        EXPECT_EQ(seen.stepTimes[i] - seen.stepTimes[i - 1], 16667) << i;
    }
}

TEST_F(MainLoopTest, WithoutThePerformanceCounterStepsAreSixteenMillisecondsApart) {
    platform::headless::setPerformanceCounterAvailable(false);
    platform::headless::setAutoAdvance(1);
    seen.useCounter = false;
    seen.stepLimit = 6;
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;
    ASSERT_EQ(seen.stepTimes.size(), 6u);
    // A step is due once the clock has passed the last step's time by 16 ms;
    // read continuously, a millisecond clock first shows that at +17.
    for (size_t i = 1; i < seen.stepTimes.size(); ++i) {
        EXPECT_EQ(seen.stepTimes[i] - seen.stepTimes[i - 1], 17) << i;
    }
}

TEST_F(MainLoopTest, ALateStepIsNotMadeUp) {
    platform::headless::setAutoAdvance(1);
    seen.stepLimit = 5;
    seen.jumpAfterStep = 2;
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;
    ASSERT_EQ(seen.stepTimes.size(), 5u);
    EXPECT_GT(seen.stepTimes[2] - seen.stepTimes[1], 1'000'000);
    EXPECT_LT(seen.stepTimes[2] - seen.stepTimes[1], 1'000'100) << "due at once";
    EXPECT_LE(seen.stepTimes[3] - seen.stepTimes[2], 16667) << "then one step later";
    EXPECT_GE(seen.stepTimes[3] - seen.stepTimes[2], 16667 * 3 / 4);
    EXPECT_EQ(seen.stepTimes[4] - seen.stepTimes[3], 16667);
}

// ------------------------------------------------------------ after a game

TEST_F(MainLoopTest, ALostGameReturnsToTheTitleWithTheResetApplied) {
    platform::headless::setKeyScript(spaceAfter(0, 0));
    hooks.set(
        [] {
            recordStep();
            if (seen.stepPasses.size() == 1) {
                game.energy = -1;
                game.level = 3;
                game.rescuedCount = 2;
                game.carryingMan = 1;
            }
        },
        [](int result) {
            seen.results.push_back(result);
            if (result == 1) return;
            seen.afterReset = game;
            seen.reset = true;
            escape();
        });
    setDrawObserver([](const Surface* source, const Rect& rect, int x, int y) {
        recordDraw(source, rect, x, y);
        if (source == surfGameOverScreen && seen.heliXOnFailurePicture < 0) {
            seen.heliXOnFailurePicture = game.heliX;
            platform::headless::setKeys({DIK_RETURN});
        }
    });
    EXPECT_EQ(run(), 0);

    ASSERT_TRUE(seen.reset);
    EXPECT_EQ(seen.results.back(), 0);
    const GameState& g = seen.afterReset;
    EXPECT_EQ(g.energy, 352);
    EXPECT_EQ(g.level, 0);
    EXPECT_EQ(g.rescuedCount, 0);
    EXPECT_EQ(g.carryingMan, 0);
    EXPECT_EQ(g.manWaiting, 1);
    EXPECT_EQ(g.heliLanded, 0);
    EXPECT_EQ(g.landingActive, 0);
    EXPECT_DOUBLE_EQ(g.scrollPos, 0.0);
    EXPECT_DOUBLE_EQ(g.heliY, 370.0);
    EXPECT_DOUBLE_EQ(g.velX, 0.0);
    EXPECT_DOUBLE_EQ(g.velY, 0.0);
    EXPECT_EQ(g.orb1Active + g.orb2Active + g.orb3Active, 0);
    EXPECT_EQ(g.heliFacingLeft, 1);
    EXPECT_EQ(g.crashExplosionPending, 1);
    EXPECT_EQ(g.explosionDelay, 0);
    EXPECT_EQ(g.explosionFrame, 0);
    EXPECT_EQ(g.subSurfacing + g.subHeight + g.subTimer, 0);
    EXPECT_DOUBLE_EQ(g.heliX, seen.heliXOnFailurePicture) << "the helicopter's x is kept";

    // The title is back from its beginning: credits from the top, no loading picture.
    const int gameOverPass = [] {
        int last = -1;
        for (const Draw& d : seen.draws) {
            if (d.source == "surfGameOverScreen") last = d.pass;
        }
        return last;
    }();
    ASSERT_GE(gameOverPass, 0);
    const auto titleAgain = std::find_if(seen.draws.begin(), seen.draws.end(), [&](const Draw& d) {
        return d.source == "surfCredits" && d.pass > gameOverPass;
    });
    ASSERT_NE(titleAgain, seen.draws.end());
    EXPECT_TRUE(sameRect(titleAgain->rect, Rect{0, 0, 288, 135}));
    for (const Draw& d : seen.draws) {
        if (d.source == "surfLoading" && d.pass > gameOverPass) {
            EXPECT_FALSE(drawn(d));
        }
    }
}

TEST_F(MainLoopTest, AWonGamesPictureShowsOnePassAFrameUntilReturn) {
    // Five passes without a key, then Return; the ending step's own frame is
    // shown by the picture's first pass, not by a flip of its own.
    std::vector<Snapshot> script(5);
    script.push_back({DIK_RETURN});
    platform::headless::setKeyScript(script);
    static int flipsAtEnd;
    flipsAtEnd = -1;
    hooks.set(
        [] {
            recordStep();
            game.level = 7;
            game.heliY = 2;
        },
        [](int result) {
            seen.results.push_back(result);
            flipsAtEnd = platform::headless::flipCount();
            EXPECT_EQ(loopPhase(), LoopPhase::Title);
            escape();
        });
    setDrawObserver([](const Surface* source, const Rect& rect, int x, int y) {
        recordDraw(source, rect, x, y);
        if (source == surfWinScreen) {
            EXPECT_EQ(loopPhase(), LoopPhase::WinPicture);
        }
    });
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;

    ASSERT_EQ(seen.results, std::vector<int>{0});
    EXPECT_EQ(flipsAtEnd - seen.stepPasses[0], 6);
    const auto pictures = drawsOf("surfWinScreen");
    ASSERT_EQ(pictures.size(), 6u);
    for (size_t pass = 0; pass < pictures.size(); ++pass) {
        EXPECT_EQ(pictures[pass].pass, seen.stepPasses[0] + static_cast<int>(pass));
    }
}

TEST_F(MainLoopTest, EscapeDoesNothingOnAnEndPicture) {
    platform::headless::setKeyScript({{DIK_ESCAPE}, {DIK_ESCAPE}, {DIK_RETURN}, {DIK_ESCAPE}});
    hooks.set(
        [] {
            recordStep();
            game.energy = -1;
            game.heliY = 410;
            game.crashExplosionPending = 0;
        },
        afterStep);
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;
    EXPECT_EQ(seen.results, std::vector<int>{0}) << "one step, dismissed by Return";
    EXPECT_EQ(drawsOf("surfGameOverScreen").size(), 3u);
    EXPECT_EQ(drawsOf("surfTitle").size(), 1u) << "Escape on the title pass after it ends";
}

// ------------------------------------------------------------ between frames

TEST_F(MainLoopTest, BetweenStepsTheLoopWaitsForTheTimeLeft) {
    platform::headless::setAutoAdvance(1000);  // each clock read is a millisecond later
    seen.stepLimit = 3;
    EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0);
    appWindow = nullptr;
    // Each step is followed by idle turns that sleep for what is left of the
    // step's 16667 microseconds, never longer.
    EXPECT_GE(platform::headless::waitCount(), 3);
    EXPECT_GT(platform::headless::lastWaitMicroseconds(), 0);
    EXPECT_LE(platform::headless::lastWaitMicroseconds(), 16668);
}

TEST_F(MainLoopTest, TheTitleSleepsBetweenItsPasses) {
    platform::headless::setAutoAdvance(1000);
    platform::headless::setKeyScript({{}, {}, {DIK_ESCAPE}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform::headless::flipCount(), 3);
    EXPECT_GE(platform::headless::waitCount(), 2) << "one pass a sixtieth of a second";
    EXPECT_GT(platform::headless::lastWaitMicroseconds(), 0);
    EXPECT_LE(platform::headless::lastWaitMicroseconds(), 16667);
}

// A browser is not put to sleep: it asks how long until the next pass and
// calls again only then.
TEST_F(MainLoopTest, TheTimeUntilTheNextTitlePassIsWhatIsLeftOfItsSixtieth) {
    platform::headless::setAutoAdvance(1000);
    beginLoop(LoopStart::title(), deviceControls(), {&hooks});
    ASSERT_TRUE(runFrame());
    ASSERT_EQ(platform::headless::flipCount(), 1);
    const int64_t wait = microsecondsUntilFrame();
    EXPECT_GT(wait, 10'000);
    EXPECT_LE(wait, 16'667);
    ASSERT_TRUE(runFrame());
    EXPECT_EQ(platform::headless::flipCount(), 1) << "called early, nothing is due";
    platform::headless::advanceMicroseconds(wait);
    EXPECT_EQ(microsecondsUntilFrame(), 0);
    ASSERT_TRUE(runFrame());
    EXPECT_EQ(platform::headless::flipCount(), 2);
}

// Runs the game phase frame by frame; the number of steps made so far.
int stepsSoFar() {
    return static_cast<int>(seen.results.size());
}

class PauseTest : public MainLoopTest {
  protected:
    void SetUp() override {
        MainLoopTest::SetUp();
        platform::headless::setAutoAdvance(20'000);  // every turn a step is due
        beginLoop(LoopStart::game(), deviceControls(), {&hooks});
    }
    void TearDown() override {
        useLoopSettings(LoopSettings{});
        MainLoopTest::TearDown();
    }
    static void frames(int count, const std::vector<uint8_t>& keys) {
        platform::headless::setKeys(keys);
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(runFrame());
            waitForNextFrame();
        }
    }
};

TEST_F(PauseTest, PStopsTheStepsAndTheSoundsAndDarkensTheFrame) {
    frames(3, {platform::DIK_LEFT});
    ASSERT_EQ(stepsSoFar(), 3);
    const platform::Surface shown = platform::headless::screen();
    frames(1, {platform::DIK_P});  // the step whose poll sees P is the last
    const GameState before = game;
    const int steps = stepsSoFar();
    const int flips = platform::headless::flipCount();
    frames(20, {platform::DIK_LEFT});
    EXPECT_EQ(stepsSoFar(), steps) << "no step runs while paused";
    EXPECT_EQ(std::memcmp(&before, &game, sizeof game), 0) << "the game stands still";
    EXPECT_GT(platform::headless::waitCount(), 0) << "and the program sleeps";
    EXPECT_EQ(platform::headless::flipCount(), flips) << "the paused frame was shown once";
    platform::headless::postSystemMessage(platform::MessageKind::Exposed);
    frames(2, {});
    EXPECT_EQ(platform::headless::flipCount(), flips + 1) << "and again when the window lost it";

    // The paused frame is the last frame shown at half brightness: no
    // channel keeps its top bit, yet the picture is still there.
    const platform::Surface& paused = platform::headless::screen();
    ASSERT_EQ(paused.pixels.size(), shown.pixels.size());
    int bright = 0;
    int lit = 0;
    for (const uint16_t pixel : paused.pixels) {
        bright += (pixel & 0x8410) != 0 ? 1 : 0;
        lit += pixel != 0 ? 1 : 0;
    }
    EXPECT_EQ(bright, 0);
    EXPECT_GT(lit, 640 * 480 / 2);

    const auto& record = platform::headless::calls();
    EXPECT_TRUE(std::any_of(record.begin(), record.end(),
                            [](const auto& call) { return call.name == "pauseSound"; }));
    frames(1, {});
    frames(1, {platform::DIK_PAUSE});  // the Pause key ends it as P does, and play goes on
    EXPECT_EQ(stepsSoFar(), steps + 1);
    frames(2, {});
    EXPECT_EQ(stepsSoFar(), steps + 3) << "one step a frame, none made up";
    EXPECT_TRUE(std::any_of(record.begin(), record.end(),
                            [](const auto& call) { return call.name == "resumeSound"; }));
    platform::destroyWindow(appWindow);
    appWindow = nullptr;
}

TEST_F(PauseTest, WhilePausedTheNextLookAtTheKeysIsATenthOfASecondAway) {
    frames(1, {platform::DIK_P});
    EXPECT_EQ(microsecondsUntilFrame(), 100'000);
    frames(1, {});
    frames(1, {platform::DIK_P});
    EXPECT_LE(microsecondsUntilFrame(), 16'667) << "playing on, the step's beat again";
}

TEST_F(PauseTest, HoldingPPausesOnce) {
    frames(1, {platform::DIK_P});
    const int steps = stepsSoFar();
    frames(10, {platform::DIK_P});
    EXPECT_EQ(stepsSoFar(), steps) << "still paused: the key must go up and down again";
    frames(1, {});
    frames(1, {platform::DIK_P});
    frames(1, {});
    EXPECT_EQ(stepsSoFar(), steps + 2);
    platform::destroyWindow(appWindow);
    appWindow = nullptr;
}

TEST_F(PauseTest, EscapeStillQuitsWhilePaused) {
    frames(1, {platform::DIK_P});
    frames(1, {});
    platform::headless::setKeys({DIK_ESCAPE});
    EXPECT_FALSE(runFrame()) << "the loop ends";
    EXPECT_NE(directDraw, nullptr) << "the teardown is left to whoever ran the loop";
    endProgram();
    EXPECT_EQ(directDraw, nullptr);
}

TEST_F(PauseTest, LosingTheFocusPausesOnlyWhenAskedFor) {
    frames(2, {});
    platform::headless::postSystemMessage(platform::MessageKind::FocusLost);
    frames(2, {});
    EXPECT_EQ(stepsSoFar(), 4) << "off by default";
    useLoopSettings(LoopSettings{.pauseOnFocusLoss = true});
    platform::headless::postSystemMessage(platform::MessageKind::FocusLost);
    frames(3, {});
    EXPECT_EQ(stepsSoFar(), 4);
    frames(1, {platform::DIK_P});
    frames(1, {});
    EXPECT_EQ(stepsSoFar(), 6);
    platform::destroyWindow(appWindow);
    appWindow = nullptr;
}

TEST_F(PauseTest, TheTitleAndTheEndPicturesCannotBePaused) {
    beginLoop(LoopStart::title(), deviceControls(), {&hooks});
    frames(3, {platform::DIK_P});
    EXPECT_EQ(platform::headless::waitCount(), 0);
    game.energy = -1;
    game.heliY = 410;
    game.crashExplosionPending = 0;
    beginLoop(LoopStart::game(), deviceControls(), {&hooks});
    frames(4, {platform::DIK_P});
    EXPECT_EQ(loopPhase(), LoopPhase::FailurePicture);
    EXPECT_EQ(drawsOf("surfGameOverScreen").size(), 4u) << "the picture goes on opening";
    platform::destroyWindow(appWindow);
    appWindow = nullptr;
}

// ------------------------------------------------------------ closing on an end picture

TEST_F(MainLoopTest, ACloseRequestOnAnEndPictureEndsTheProgramAtOnce) {
    for (const bool win : {true, false}) {
        if (!win) {
            ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
        }
        game = GameState{};
        seen = Seen{};
        if (win) {
            game.level = 7;
            game.heliY = 2;
        } else {
            game.energy = -1;
            game.heliY = 410;
            game.crashExplosionPending = 0;
        }
        platform::headless::setKeys({});
        static int flipsAtClose;
        flipsAtClose = -1;
        setDrawObserver([](const Surface* source, const Rect& rect, int x, int y) {
            recordDraw(source, rect, x, y);
            // The close button, pressed while the picture shows.
            if (loopPhase() != LoopPhase::Game && flipsAtClose < 0 && seen.draws.size() > 40) {
                flipsAtClose = platform::headless::flipCount();
                platform::headless::postSystemMessage(platform::MessageKind::Close);
            }
        });
        EXPECT_EQ(runMainLoop(LoopStart::game(), deviceControls(), {&hooks}), 0) << win;
        appWindow = nullptr;
        ASSERT_GE(flipsAtClose, 0);
        EXPECT_EQ(directDraw, nullptr) << "the teardown ran";
        EXPECT_EQ(seen.results, std::vector<int>{}) << "no way back to the title";
        EXPECT_LE(platform::headless::flipCount() - flipsAtClose, 1) << "at once";
        EXPECT_TRUE(drawsOf("surfTitle").empty());
    }
}

}  // namespace
