// The submarine, its rocket, the explosion of a rocket hit, and the game's
// random numbers that time the submarine.

#include "game/submarine.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

using SubmarineTest = GameTest;

TEST(RandomTest, SameSequenceInEveryRun) {
    randomState = 1;
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int32_t value : expected) {
        EXPECT_EQ(nextRandom(), value);
    }
}

TEST_F(SubmarineTest, ShowsOnlyItsUpperRowsStandingOnTheWater) {
    const struct {
        double scrollPos;
        Rect source;
        int x;
    } cases[] = {{300, {0, 0, 160, 20}, 0},   {780, {0, 0, 160, 20}, 480},
                 {781, {0, 0, 159, 20}, 481}, {200.5, {99, 0, 160, 20}, 0},
                 {100, {200, 0, 160, 20}, 0}, {940, {0, 0, 0, 20}, 640}};
    for (const auto& c : cases) {
        drawCalls().clear();
        game.scrollPos = c.scrollPos;
        game.subSurfacing = 1;
        game.subHeight = 20;  // drawn before it rises further
        updateSubmarine();
        ASSERT_EQ(drawCalls().size(), 1u);
        EXPECT_TRUE(isDraw(drawCalls()[0], surfSubmarine, c.source, c.x, 440)) << c.scrollPos;
    }
}

TEST_F(SubmarineTest, DownItDrawsNothing) {
    game.scrollPos = 400;
    updateSubmarine();
    ASSERT_EQ(drawCalls().size(), 1u);
    EXPECT_TRUE(isDraw(drawCalls()[0], surfSubmarine, {0, 0, 160, 0}, 100, 460));
}

TEST_F(SubmarineTest, TimerSwitchesOnlyPast100) {
    game.subTimer = 99;
    updateSubmarine();
    EXPECT_EQ(game.subTimer, 100);
    EXPECT_EQ(game.subSurfacing, 0);
    updateSubmarine();
    EXPECT_EQ(game.subSurfacing, 1);
    EXPECT_EQ(game.subTimer, -20 - 41 % 50);
    EXPECT_EQ(game.subHeight, 1);
    game.subTimer = 100;
    updateSubmarine();
    EXPECT_EQ(game.subSurfacing, 0);
    EXPECT_EQ(game.subTimer, -100 - 18467 % 100);
    EXPECT_EQ(game.subHeight, 0);
}

TEST_F(SubmarineTest, StaysDownForAHundredAndOneStepsAfterTheReset) {
    resetGame();
    for (int step = 1; step <= 100; ++step) updateSubmarine();
    EXPECT_EQ(game.subSurfacing, 0);
    updateSubmarine();
    EXPECT_EQ(game.subSurfacing, 1);
}

TEST_F(SubmarineTest, RisesAndSinksOneRowAStep) {
    game.subSurfacing = 1;
    game.subHeight = 27;
    updateSubmarine();
    EXPECT_EQ(game.subHeight, 28);
    updateSubmarine();
    EXPECT_EQ(game.subHeight, 28);
    game.subSurfacing = 0;
    game.subHeight = 1;
    updateSubmarine();
    EXPECT_EQ(game.subHeight, 0);
    updateSubmarine();
    EXPECT_EQ(game.subHeight, 0);
}

// Whether a fully surfaced submarine fires at that course position, with the
// helicopter at x 200.
bool firesAt(double scrollPos) {
    game = GameState{};
    game.heliX = 200;
    game.scrollPos = scrollPos;
    game.subSurfacing = 1;
    game.subHeight = 28;
    updateSubmarine();
    return game.rocketActive == 1;
}

TEST_F(SubmarineTest, FiresWhenItsLeftEndIsNearTheHelicopter) {
    EXPECT_FALSE(firesAt(400));
    EXPECT_TRUE(firesAt(400.5));
    EXPECT_TRUE(firesAt(699.5));
    EXPECT_FALSE(firesAt(700));
    EXPECT_TRUE(firesAt(500));
    EXPECT_EQ(playsOf(sndRocketLaunch), 3);
}

TEST_F(SubmarineTest, FiresOnlyWhenFullyUpAndWithNoRocketInFlight) {
    game.heliX = 200;
    game.scrollPos = 500;
    game.subSurfacing = 1;
    game.subHeight = 26;
    updateSubmarine();
    EXPECT_EQ(game.rocketActive, 0);
    game.rocketActive = 1;
    game.subHeight = 28;
    updateSubmarine();
    EXPECT_EQ(playsOf(sndRocketLaunch), 0);
}

TEST_F(SubmarineTest, ARocketFiredInAStepFliesInThatStep) {
    game.heliX = 200;
    game.heliY = 100;
    game.scrollPos = 500;
    game.subSurfacing = 1;
    game.subHeight = 28;
    updateSubmarineAndRocket();
    EXPECT_EQ(game.rocketActive, 1);
    EXPECT_DOUBLE_EQ(game.rocketY, 448.3);
    ASSERT_EQ(drawsOf(surfRocket).size(), 1u);
    EXPECT_TRUE(isDraw(drawsOf(surfRocket)[0], surfRocket, {0, 0, 24, 0}, 250, 449));
}

TEST_F(SubmarineTest, RocketEmergesFromTheWater) {
    game.rocketActive = 1;
    game.heliY = 100;
    game.scrollPos = 500;
    for (int step = 0; step < 3; ++step) updateRocket();
    const auto draws = drawsOf(surfRocket);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_TRUE(isDraw(draws[0], surfRocket, {0, 0, 24, 0}, 250, 449));
    EXPECT_TRUE(isDraw(draws[1], surfRocket, {0, 0, 24, 0}, 250, 448));
    EXPECT_TRUE(isDraw(draws[2], surfRocket, {0, 0, 24, 1}, 250, 447));
}

TEST_F(SubmarineTest, RocketAcceleratesOnceOutOfTheWater) {
    game.rocketActive = 1;
    game.heliY = 100;
    game.rocketY = 389.5;
    updateRocket();
    EXPECT_TRUE(isDraw(drawsOf(surfRocket)[0], surfRocket, {0, 0, 24, 59},
                       static_cast<int>(game.scrollPos - 250), 389));
    EXPECT_DOUBLE_EQ(game.rocketY, 388.8);
    EXPECT_DOUBLE_EQ(game.rocketSpeed, 0.05);
    updateRocket();
    EXPECT_DOUBLE_EQ(game.rocketY, 388.8 - 0.7 - 0.05);
    EXPECT_DOUBLE_EQ(game.rocketSpeed, 0.1);
}

TEST_F(SubmarineTest, RocketLeavesThroughTheTop) {
    game.rocketActive = 1;
    game.heliY = 300;
    game.scrollPos = 500;
    game.rocketY = -10.5;
    updateRocket();
    EXPECT_TRUE(isDraw(drawsOf(surfRocket)[0], surfRocket, {0, 10, 24, 60}, 250, 0));
    game.rocketY = -59.2;
    game.rocketSpeed = 0;
    updateRocket();
    EXPECT_EQ(game.rocketActive, 1);  // -59.9 still flies
    game.rocketY = -59.5;
    game.rocketSpeed = 0;
    updateRocket();
    EXPECT_EQ(game.rocketActive, 0);
    EXPECT_EQ(game.rocketY, 449);
    EXPECT_EQ(game.rocketSpeed, 0);
}

TEST_F(SubmarineTest, RocketHitStartsTheExplosion) {
    game.rocketActive = 1;
    game.scrollPos = 500;
    game.heliX = 200;
    game.heliY = 300;
    game.rocketY = 310.7;
    game.rocketSpeed = 2;
    updateRocket();
    EXPECT_EQ(game.rocketActive, 0);
    EXPECT_EQ(game.rocketY, 449);
    EXPECT_EQ(game.rocketSpeed, 0);
    EXPECT_EQ(game.explosionActive, 1);
}

TEST_F(SubmarineTest, RocketKeepsItsPlaceInTheLandscape) {
    game.rocketActive = 1;
    game.heliX = 200;
    game.heliY = 300;
    game.rocketY = 310.7;
    game.scrollPos = 900;  // the rocket stands at x 650, right of the helicopter
    updateRocket();
    EXPECT_EQ(game.rocketActive, 1);
    EXPECT_EQ(game.explosionActive, 0);
}

TEST_F(SubmarineTest, ARocketJustGoneIsTestedUnderTheWater) {
    // A low helicopter over the rocket's place is hit by the rocket that has
    // just left the top of the screen: it is tested where it was put back.
    game.rocketActive = 1;
    game.scrollPos = 500;
    game.heliX = 200;
    game.heliY = 410;
    game.rocketY = -59.5;
    updateRocket();
    EXPECT_EQ(game.explosionActive, 1);
}

TEST_F(SubmarineTest, ExplosionFollowsTheHelicopterAndCostsNinety) {
    game.explosionActive = 1;
    game.heliX = 100.7;
    game.heliY = 200.2;
    int steps = 0;
    while (game.explosionActive == 1 && steps < 100) {
        updateExplosion();
        ++steps;
        game.heliX += 1;
    }
    EXPECT_EQ(steps, 54);
    EXPECT_EQ(game.energy, 352 - 90);
    EXPECT_EQ(game.explosionFrame, 0);
    EXPECT_EQ(game.explosionDelay, 0);
    EXPECT_EQ(playsOf(sndExplosion), 54);
    const auto first = drawsOf(surfExplosion[0]);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_TRUE(isDraw(first[0], surfExplosion[0], {0, 0, 96, 96}, 150, 200));
    EXPECT_TRUE(isDraw(first[5], surfExplosion[0], {0, 0, 96, 96}, 155, 200));
    EXPECT_EQ(drawsOf(surfExplosion[8]).size(), 6u);
}

TEST_F(SubmarineTest, ExplosionCostsTenAtEachChangeOfPicture) {
    game.explosionActive = 1;
    for (int step = 0; step < 5; ++step) updateExplosion();
    EXPECT_EQ(game.energy, 352);
    updateExplosion();
    EXPECT_EQ(game.energy, 342);
    EXPECT_EQ(game.explosionFrame, 1);
}

}  // namespace
