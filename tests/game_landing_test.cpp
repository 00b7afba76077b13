// The landing approach, the man at the far end, the pick-up, the unloading
// and the completion of a mission.

#include <optional>
#include <vector>

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

// Where the helicopter is after one step of a landing; a field left empty
// is not looked at.
struct After {
    std::optional<double> heliX;
    std::optional<double> heliY;
    std::optional<int> landed;
};
After atX(double heliX) {
    After after;
    after.heliX = heliX;
    return after;
}
After atY(double heliY, std::optional<int> landed = {}) {
    After after;
    after.heliY = heliY;
    after.landed = landed;
    return after;
}

TEST_F(LandingTest, ApproachesItsPlaceAndSetsDownExactlyOnIt) {
    const struct {
        const char* name;
        double scrollPos, heliX;
        std::optional<double> heliY;
        std::vector<After> steps;
    } runs[] = {
        {"slides left one pixel a step", 1905, 150, {}, {atX(149)}},
        // Less than 0.1 past the target: a pixel left, below it, then two right.
        {"just above the target first drops below it",
         1905,
         30.05,
         {},
         {atX(30.05 - 1 + 2), atX(30)}},
        {"snaps onto the target from just left", 1905, 29.0, {}, {atX(30)}},
        {"snaps onto the target from just right", 1905, 31.5, {}, {atX(30)}},
        {"snaps onto the target from two right", 1905, 32.0, {}, {atX(30)}},
        {"snaps onto the base from just left", 2, 229, {}, {atX(230)}},
        {"the target is the base up to scroll position two", 2, 100, {}, {atX(102)}},
        {"and no further", 2.1, 102, {}, {atX(101)}},
        {"descends fast high up", 1905, 30, 340, {atY(341)}},
        {"and slowly low", 1905, 30, 349.5, {atY(350), atY(350.5)}},
        {"sets down only exactly on its place", 1905, 30, 397.5, {atY(398, 0), atY(400, 1)}},
        {"from below it rises a pixel a step",
         1905,
         30,
         405,
         {atY(404), atY(403), atY(402), atY(401), atY(400, 1)}},
        // Just above 399.9 half a pixel down overshoots, and a pixel up comes back short.
        {"just above 399.9 it overshoots and comes back",
         1905,
         30,
         399.95,
         {atY(399.95 + 0.5 - 1, 0), atY(400, 1)}},
        {"does not descend before reaching the target", 1905, 100, 300, {atY(300)}},
    };
    for (const auto& run : runs) {
        game = GameState{};
        game.landingActive = 1;
        game.scrollPos = run.scrollPos;
        game.heliX = run.heliX;
        if (run.heliY) game.heliY = *run.heliY;
        int step = 0;
        for (const After& after : run.steps) {
            ++step;
            SCOPED_TRACE(::testing::Message() << run.name << ", step " << step);
            landingApproach();
            if (after.heliX) {
                EXPECT_EQ(game.heliX, *after.heliX);
            }
            if (after.heliY) {
                EXPECT_EQ(game.heliY, *after.heliY);
            }
            if (after.landed) {
                EXPECT_EQ(game.heliLanded, *after.landed);
            }
        }
    }
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
