// The landing approach, the man at the far end, the pick-up, the unloading
// and the completion of a mission.

#include "game/landing.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

class LandingTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        game.landingActive = 1;
        game.scrollPos = 1905;  // at the far end
    }
};

TEST_F(LandingTest, TakesTheSpeedsAndTurnsTheHelicopterLeft) {
    game.velX = 2;
    game.velY = 1;
    game.heliFacingLeft = 0;
    landingApproach();
    EXPECT_EQ(game.velX, 0);
    EXPECT_EQ(game.velY, 0);
    EXPECT_EQ(game.heliFacingLeft, 1);
}

TEST_F(LandingTest, SlidesRightTwoPixelsAStepThenDescends) {
    game.heliX = 0;
    game.heliY = 370;
    for (int step = 1; step <= 14; ++step) {
        landingApproach();
        EXPECT_EQ(game.heliX, 2 * step);
        EXPECT_EQ(game.heliY, 370);
    }
    landingApproach();
    EXPECT_EQ(game.heliX, 30);
    EXPECT_EQ(game.heliY, 370.5);  // on the target in the same step
}

TEST_F(LandingTest, SlidesLeftOnePixelAStep) {
    game.heliX = 150;
    landingApproach();
    EXPECT_EQ(game.heliX, 149);
}

TEST_F(LandingTest, JustAboveTheTargetFirstDropsBelowIt) {
    game.heliX = 30.05;
    landingApproach();
    EXPECT_DOUBLE_EQ(game.heliX, 31.05);
    landingApproach();
    EXPECT_EQ(game.heliX, 30);
}

TEST_F(LandingTest, SnapsOntoTheTargetFromNearby) {
    for (double heliX : {29.0, 31.5, 32.0}) {
        game.heliX = heliX;
        landingApproach();
        EXPECT_EQ(game.heliX, 30) << heliX;
    }
    game.scrollPos = 2;
    game.heliX = 229;
    landingApproach();
    EXPECT_EQ(game.heliX, 230);
}

TEST_F(LandingTest, TargetIsTheBaseOnlyUpToScrollPositionTwo) {
    game.heliX = 100;
    game.scrollPos = 2;
    landingApproach();
    EXPECT_EQ(game.heliX, 102);
    game.scrollPos = 2.1;
    landingApproach();
    EXPECT_EQ(game.heliX, 101);
}

TEST_F(LandingTest, DescendsFastHighUpAndSlowlyLow) {
    game.heliX = 30;
    game.heliY = 340;
    landingApproach();
    EXPECT_EQ(game.heliY, 341);
    game.heliY = 349.5;
    landingApproach();
    EXPECT_EQ(game.heliY, 350);
    landingApproach();
    EXPECT_EQ(game.heliY, 350.5);
}

TEST_F(LandingTest, SetsDownOnlyExactlyOnItsPlace) {
    game.heliX = 30;
    game.heliY = 397.5;
    landingApproach();
    EXPECT_EQ(game.heliY, 398);
    EXPECT_EQ(game.heliLanded, 0);
    landingApproach();
    EXPECT_EQ(game.heliY, 400);
    EXPECT_EQ(game.heliLanded, 1);
}

TEST_F(LandingTest, FromBelowItRisesAPixelAStep) {
    game.heliX = 30;
    game.heliY = 405;
    for (double expected : {404.0, 403.0, 402.0, 401.0, 400.0}) {
        landingApproach();
        EXPECT_EQ(game.heliY, expected);
    }
    EXPECT_EQ(game.heliLanded, 1);
}

TEST_F(LandingTest, JustAbove399Point9ItOvershootsAndComesBack) {
    game.heliX = 30;
    game.heliY = 399.95;
    landingApproach();
    EXPECT_DOUBLE_EQ(game.heliY, 399.45);
    EXPECT_EQ(game.heliLanded, 0);
    landingApproach();
    EXPECT_EQ(game.heliY, 400);
    EXPECT_EQ(game.heliLanded, 1);
}

TEST_F(LandingTest, DoesNotDescendBeforeReachingTheTarget) {
    game.heliX = 100;
    game.heliY = 300;
    landingApproach();
    EXPECT_EQ(game.heliY, 300);
}

class WalkerTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        game.scrollPos = 1900;  // offsets are screen x
    }
};

TEST_F(WalkerTest, PacesSlowlyWithoutALandedHelicopter) {
    game.walkerX = 10;
    game.walkerStep = 28;
    updateWaitingMan();
    EXPECT_DOUBLE_EQ(game.walkerX, 10.3);
    EXPECT_EQ(game.walkerStep, 29);
    ASSERT_EQ(drawCalls().size(), 1u);
    EXPECT_TRUE(isDraw(drawCalls()[0], surfWalker[0], {0, 0, 24, 32}, 10, 440));
}

TEST_F(WalkerTest, PictureChangesEveryThirtySteps) {
    const struct {
        int step;
        int dir;
        const Surface* picture;
    } cases[] = {{28, 0, surfWalker[0]}, {29, 0, surfWalker[1]}, {58, 0, surfWalker[1]},
                 {59, 0, surfWalker[2]}, {89, 0, surfWalker[2]}, {28, 1, surfWalker[4]},
                 {29, 1, surfWalker[5]}, {59, 1, surfWalker[6]}};
    for (const auto& c : cases) {
        drawCalls().clear();
        game.walkerX = 250;
        game.walkerStep = c.step;
        game.walkerDir = c.dir;
        updateWaitingMan();
        ASSERT_EQ(drawCalls().size(), 1u);
        EXPECT_EQ(drawCalls()[0].surface, c.picture) << c.step;
    }
}

TEST_F(WalkerTest, FromStepNinetyOneNoPictureShowsAndTheCountRestarts) {
    game.walkerX = 250;
    game.walkerStep = 90;
    updateWaitingMan();
    EXPECT_TRUE(drawCalls().empty());
    EXPECT_EQ(game.walkerStep, 0);
}

TEST_F(WalkerTest, TurnsAtTheEndsOfHisPath) {
    game.walkerX = 499.8;
    game.walkerStep = 5;
    updateWaitingMan();
    // Moved right to 500 and back left in the same step, drawn both ways.
    EXPECT_DOUBLE_EQ(game.walkerX, 499.7);
    EXPECT_EQ(game.walkerDir, 1);
    EXPECT_EQ(game.walkerStep, 7);
    ASSERT_EQ(drawCalls().size(), 2u);
    EXPECT_EQ(drawCalls()[0].surface, surfWalker[0]);
    EXPECT_EQ(drawCalls()[1].surface, surfWalker[4]);

    game.walkerX = 0.2;
    game.walkerDir = 1;
    updateWaitingMan();
    EXPECT_EQ(game.walkerDir, 0);
    EXPECT_EQ(game.walkerX, 0);  // walks right again from the next step
}

TEST_F(WalkerTest, HurriesToALandedHelicopterAndBoards) {
    game.landingActive = 1;
    game.heliLanded = 1;
    game.heliX = 30;
    game.walkerX = 129.5;
    game.walkerStep = 10;
    updateWaitingMan();
    EXPECT_DOUBLE_EQ(game.walkerX, 130.3);
    EXPECT_EQ(game.walkerStep, 13);
    EXPECT_EQ(game.landingActive, 0);
    EXPECT_EQ(game.manWaiting, 0);
    EXPECT_EQ(game.rescuedCount, 1);
    EXPECT_EQ(game.heliLanded, 0);
    EXPECT_EQ(game.carryingMan, 1);
    EXPECT_EQ(playsOf(sndPickUp), 1);
    EXPECT_EQ(drawCalls().size(), 1u);  // drawn once more as he boards
}

TEST_F(WalkerTest, OvershootingTheDoorHeTurnsBack) {
    game.heliLanded = 1;
    game.heliX = 30;
    game.walkerX = 180;
    updateWaitingMan();
    EXPECT_EQ(game.walkerDir, 1);
    EXPECT_NEAR(game.walkerX, 180, 1e-9);
    EXPECT_EQ(game.walkerStep, 6);
    EXPECT_EQ(game.manWaiting, 1);
}

TEST_F(WalkerTest, WalkingLeftHeTurnsOncePastTheHelicopter) {
    game.heliLanded = 1;
    game.heliX = 30;
    game.walkerX = 30.5;
    game.walkerDir = 1;
    updateWaitingMan();
    EXPECT_EQ(game.walkerDir, 0);
    EXPECT_DOUBLE_EQ(game.walkerX, 29.7);
}

TEST_F(WalkerTest, AwayFromTheFarEndHeWalksOffTheScreen) {
    game.scrollPos = 0;
    game.walkerX = 100;
    updateWaitingMan();
    ASSERT_EQ(drawCalls().size(), 1u);
    EXPECT_EQ(drawCalls()[0].x, -1799);
}

class UnloadingTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        game.scrollPos = 1;
        game.heliX = 230;
        game.heliY = 400;
        game.landingActive = 1;
        game.heliLanded = 1;
        game.manWaiting = 0;
        game.carryingMan = 1;
        game.rescuedCount = 1;
    }
};

TEST_F(UnloadingTest, ManStepsOutAtTheDoor) {
    game.walkerStep = 0;
    updateUnloading();
    EXPECT_EQ(game.carryingMan, 0);
    EXPECT_DOUBLE_EQ(game.walkerX, 360.3);
    EXPECT_EQ(game.walkerStep, 2);
    ASSERT_EQ(drawCalls().size(), 1u);
    EXPECT_TRUE(isDraw(drawCalls()[0], surfWalker[0], {0, 0, 24, 32}, 360, 440));
}

TEST_F(UnloadingTest, PictureIsChosenBeforeTheCountMovesOn) {
    game.carryingMan = 0;
    game.walkerX = 400;
    game.walkerStep = 92;
    updateUnloading();
    EXPECT_TRUE(drawCalls().empty());
    EXPECT_EQ(game.walkerStep, 2);
}

TEST_F(UnloadingTest, WalkToTheBaseCompletesTheMission) {
    game.energy = 200;
    int steps = 0;
    while (game.level == 0 && steps < 1000) {
        updateUnloading();
        ++steps;
    }
    EXPECT_GE(steps, 315);
    EXPECT_LE(steps, 318);
    EXPECT_EQ(game.level, 1);
    EXPECT_EQ(game.heliLanded, 0);
    EXPECT_EQ(game.landingActive, 0);
    EXPECT_EQ(game.manWaiting, 1);
    EXPECT_EQ(game.energy, 300);
    EXPECT_EQ(playsOf(sndMissionComplete), 1);
    EXPECT_GE(game.walkerX, 455);
}

// Energy after completing the mission that makes `newLevel`.
int energyAfterMission(int energy, int newLevel) {
    game.level = newLevel - 1;
    game.energy = energy;
    game.carryingMan = 0;
    game.heliLanded = 1;
    game.walkerX = 454.9;
    updateUnloading();
    return game.energy;
}

TEST_F(UnloadingTest, RefillShrinksWithTheLevel) {
    EXPECT_EQ(energyAfterMission(251, 1), 352);
    EXPECT_EQ(energyAfterMission(250, 1), 350);
    EXPECT_EQ(energyAfterMission(100, 2), 185);
    EXPECT_EQ(energyAfterMission(100, 3), 170);
    EXPECT_EQ(energyAfterMission(100, 4), 170);
    EXPECT_EQ(energyAfterMission(250, 5), 305);
    EXPECT_EQ(energyAfterMission(0, 7), 55);
}

TEST_F(UnloadingTest, RunsOnlyAtTheBaseWithTheHelicopterLanded) {
    game.landingActive = 0;
    game.walkerX = 0;
    game.scrollPos = 2.5;
    runGame();
    EXPECT_EQ(game.carryingMan, 1);
    game.scrollPos = 2;
    game.heliLanded = 0;
    runGame();
    EXPECT_EQ(game.carryingMan, 1);
}

}  // namespace
