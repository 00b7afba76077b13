// The launcher, its three orbs and the launcher push-up.

#include <numbers>

#include "game/launcher.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

using LauncherTest = GameTest;

// One orb's fields and its phase, so that a table can speak of any of them.
struct Orb {
    const char* name;
    int32_t GameState::*active;
    double GameState::*x;
    double GameState::*y;
    void (*update)();
};
const Orb orbOne{"orb 1", &GameState::orb1Active, &GameState::orb1X, &GameState::orb1Y, updateOrb1};
const Orb orbTwo{"orb 2", &GameState::orb2Active, &GameState::orb2X, &GameState::orb2Y, updateOrb2};
const Orb orbThree{"orb 3", &GameState::orb3Active, &GameState::orb3X, &GameState::orb3Y,
                   updateOrb3};

TEST_F(LauncherTest, HeadFollowsTheCourse) {
    const double positions[] = {0, 700, 700.5, 1150, 1150.5, 1920};
    const int states[] = {0, 0, 2, 2, 1, 1};
    for (size_t i = 0; i < std::size(positions); ++i) {
        game = GameState{};
        game.scrollPos = positions[i];
        updateLauncher();
        EXPECT_EQ(game.launcherState, states[i]) << positions[i];
    }
}

TEST_F(LauncherTest, IsCutAtTheScreenEdges) {
    game.scrollPos = 600;
    updateLauncher();
    game.scrollPos = 1300;
    updateLauncher();
    game.scrollPos = 1340;
    updateLauncher();
    game.scrollPos = 900;
    updateLauncher();
    const auto& draws = drawCalls();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_TRUE(isDraw(draws[0], surfLauncher[0], {100, 0, 128, 128}, 0, 350));
    EXPECT_TRUE(isDraw(draws[1], surfLauncher[1], {0, 0, 40, 128}, 600, 350));
    EXPECT_TRUE(isDraw(draws[2], surfLauncher[1], {0, 0, 0, 128}, 640, 350));
    EXPECT_TRUE(isDraw(draws[3], surfLauncher[2], {0, 0, 128, 128}, 200, 350));
}

TEST_F(LauncherTest, PointingUpReleasesOrbOne) {
    game.scrollPos = 900.5;
    updateLauncher();
    EXPECT_EQ(game.orb1Active, 1);
    EXPECT_EQ(game.orb1X, 250.5);
    EXPECT_EQ(game.orb1Y, 345);
    EXPECT_EQ(playsOf(sndOrbLaunch), 1);
}

TEST_F(LauncherTest, OrbOneInFlightIsNotReleasedAgain) {
    game.scrollPos = 900;
    game.orb1Active = 1;
    game.orb1X = 12;
    game.orb1Y = 34;
    updateLauncher();
    EXPECT_EQ(game.orb1X, 12);
    EXPECT_EQ(game.orb1Y, 34);
    EXPECT_EQ(playsOf(sndOrbLaunch), 0);
}

TEST_F(LauncherTest, OtherHeadsReleaseNothingThemselves) {
    game.scrollPos = 1500;
    updateLauncher();
    game.scrollPos = 300;
    updateLauncher();
    EXPECT_EQ(game.orb1Active, 0);
    EXPECT_EQ(playsOf(sndOrbLaunch), 0);
}

TEST_F(LauncherTest, OrbOneRisesStraightAtLevelZero) {
    game.orb1Active = 1;
    game.orb1X = 100;
    game.orb1Y = 200;
    game.velX = 1.5;
    updateOrb1();
    ASSERT_EQ(drawCalls().size(), 1u);
    EXPECT_TRUE(isDraw(drawCalls()[0], surfOrbA, {0, 0, 32, 32}, 100, 200));
    EXPECT_EQ(game.orb1X, 101.5);  // keeps its place in the landscape
    EXPECT_EQ(game.orb1Y, 198);
    EXPECT_EQ(game.orb1Angle, 0);
}

TEST_F(LauncherTest, OrbOneWobblesInRadiansFromLevelOne) {
    game.level = 1;
    game.orb1Active = 1;
    game.orb1X = 100;
    game.orb1Y = 200;
    game.orb1Angle = 1;
    updateOrb1();
    EXPECT_EQ(game.orb1DrawX, 121);  // trunc(cos(1 rad) * 40 + 100)
    EXPECT_EQ(game.orb1DrawY, 233);  // trunc(sin(1 rad) * 40 + 200)
    EXPECT_TRUE(isDraw(drawCalls()[0], surfOrbA, {0, 0, 32, 32}, 121, 233));
    EXPECT_EQ(game.orb1Angle, 3);
    EXPECT_EQ(game.orb1Y, 197);
}

TEST_F(LauncherTest, OrbOnesPhaseWrapsAfter360) {
    game.level = 1;
    game.orb1Active = 1;
    game.orb1Angle = 358;
    updateOrb1();
    EXPECT_EQ(game.orb1Angle, 360);
    updateOrb1();
    EXPECT_EQ(game.orb1Angle, 0);
}

TEST_F(LauncherTest, OrbOneLeavesOnlyAboveMinus33) {
    game.orb1Active = 1;
    game.orb1Y = -31;
    updateOrb1();
    EXPECT_EQ(game.orb1Y, -33);
    EXPECT_EQ(game.orb1Active, 1);
    updateOrb1();
    EXPECT_EQ(game.orb1Active, 0);
}

// Runs orb 1 ten times over the helicopter's body and gives the energy lost.
int orbOneCostOverTenFrames(int level) {
    game = GameState{};
    game.level = level;
    for (int frame = 0; frame < 10; ++frame) {
        game.orb1Active = 1;
        game.orb1Angle = 0;  // the wobble puts the picture 40 px right of the path
        game.orb1X = level > 0 ? 260 : 300;
        game.orb1Y = 380;
        updateOrb1();
    }
    return 352 - game.energy;
}

TEST_F(LauncherTest, OrbOneHitCostsMoreFromLevelTwo) {
    EXPECT_EQ(orbOneCostOverTenFrames(0), 20);
    EXPECT_EQ(orbOneCostOverTenFrames(1), 20);
    EXPECT_EQ(orbOneCostOverTenFrames(2), 30);
    EXPECT_EQ(orbOneCostOverTenFrames(3), 40);
    EXPECT_EQ(orbOneCostOverTenFrames(5), 40);
    EXPECT_GE(playsOf(sndMetalHit), 1);
}

TEST_F(LauncherTest, OrbOneMissesAHelicopterElsewhere) {
    game.orb1Active = 1;
    game.orb1X = 50;
    game.orb1Y = 100;
    updateOrb1();
    EXPECT_EQ(game.energy, 352);
    EXPECT_EQ(playsOf(sndMetalHit), 0);
}

TEST_F(LauncherTest, OrbTwoJoinsFromLevelOneWhileTheHeadPointsRight) {
    game.scrollPos = 650;
    game.launcherState = 0;
    updateOrb2();
    EXPECT_EQ(game.orb2Active, 0);
    game.level = 1;
    updateOrb2();
    EXPECT_EQ(game.orb2Active, 1);
    EXPECT_EQ(game.orb2X, 16);  // released at 650 - 635, then one step right
    EXPECT_EQ(game.orb2Y, 349);
    EXPECT_EQ(playsOf(sndOrbLaunch), 1);
    EXPECT_TRUE(isDraw(drawCalls()[0], surfOrbB, {0, 0, 32, 32}, 16, 349));
}

TEST_F(LauncherTest, OrbTwoStillCostsEnergyInTheFrameItLeaves) {
    // The orb is taken off above the screen, but the rest of its frame runs:
    // a helicopter up there still pays for the touch.
    game.level = 1;
    game.heliX = 0;
    game.heliY = -60;
    game.orb2Active = 1;
    game.orb2X = 20;
    game.orb2Y = -32;
    updateOrb2();
    EXPECT_EQ(game.orb2Active, 0);
    EXPECT_EQ(game.energy, 350);
    EXPECT_EQ(playsOf(sndMetalHit), 1);
}

TEST_F(LauncherTest, OrbTwoIsHitTestedOnItsPathNotWhereItWobbles) {
    game.level = 3;
    game.launcherState = 2;
    game.orb2Active = 1;
    game.orb2Angle = 0;
    game.orb2Radius = 51;
    game.orb2X = 398;  // steps to (400, 400): its path touches the helicopter
    game.orb2Y = 402;
    updateOrb2();
    // Drawn 51 px right of its path, clear of the helicopter, yet it hurts.
    EXPECT_TRUE(isDraw(drawCalls()[0], surfOrbB, {0, 0, 32, 32}, 451, 400));
    EXPECT_EQ(game.orb2Angle, 1);
    EXPECT_EQ(game.energy, 349);
    EXPECT_EQ(playsOf(sndMetalHit), 1);

    // Drawn over the helicopter while its path lies clear: no cost.
    game.energy = 352;
    game.orb2Angle = std::numbers::pi;
    game.orb2X = 418;
    game.orb2Y = 402;
    updateOrb2();
    EXPECT_EQ(game.orb2DrawX, 369);
    EXPECT_EQ(game.energy, 352);
}

TEST_F(LauncherTest, EachOrbSpeedsUpWithTheLevel) {
    // Orb 1 rises only; orb 2 goes up and right, orb 3 up and left; each
    // keeps its place in the landscape as the view scrolls.
    const struct {
        const Orb& orb;
        int level;
        double x, y, velX;
        double wantX, wantY;
    } runs[] = {
        {orbOne, 0, 0, 200, 0, 0, 198},        {orbOne, 1, 0, 200, 0, 0, 197},
        {orbOne, 2, 0, 200, 0, 0, 196},        {orbOne, 3, 0, 200, 0, 0, 196},
        {orbTwo, 1, 100, 100, 0.5, 101.5, 99}, {orbTwo, 2, 100, 100, 0.5, 101.5, 99},
        {orbTwo, 3, 100, 100, 0.5, 102.5, 98}, {orbTwo, 4, 100, 100, 0.5, 103.5, 97},
        {orbTwo, 5, 100, 100, 0.5, 103.5, 97}, {orbThree, 1, 100, 100, 0, 99, 99},
        {orbThree, 2, 100, 100, 0, 98, 98},    {orbThree, 3, 100, 100, 0, 97, 97},
        {orbThree, 4, 100, 100, 0, 97, 97},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(::testing::Message() << run.orb.name << ", level " << run.level);
        game = GameState{};
        game.level = run.level;
        game.launcherState = 2;  // nothing new is released
        game.*run.orb.active = 1;
        game.*run.orb.x = run.x;
        game.*run.orb.y = run.y;
        game.velX = run.velX;
        run.orb.update();
        EXPECT_EQ(game.*run.orb.x, run.wantX);
        EXPECT_EQ(game.*run.orb.y, run.wantY);
    }
}

TEST_F(LauncherTest, SideOrbHitCostsMoreFromLevelThree) {
    const int cost[] = {2, 2, 3, 4, 4};
    for (const Orb* orb : {&orbTwo, &orbThree}) {
        for (int level = 1; level <= 5; ++level) {
            game = GameState{};
            game.level = level;
            game.launcherState = 2;  // nothing new is released
            for (int frame = 0; frame < 10; ++frame) {
                game.*orb->active = 1;
                game.*orb->x = 300;
                game.*orb->y = 400;
                orb->update();
            }
            EXPECT_EQ(352 - game.energy, 10 * cost[level - 1]) << orb->name << ", level " << level;
        }
    }
}

TEST_F(LauncherTest, OrbTwosRadiusSwingsFromLevelFour) {
    game.level = 4;
    game.launcherState = 2;
    game.orb2Active = 1;
    game.orb2Radius = 50;
    game.orb2RadiusGrowing = 1;
    updateOrb2();
    EXPECT_EQ(game.orb2Radius, 51);
    EXPECT_EQ(game.orb2RadiusGrowing, 0);
    game.orb2Radius = 20;
    updateOrb2();
    EXPECT_EQ(game.orb2Radius, 19);
    EXPECT_EQ(game.orb2RadiusGrowing, 1);
    game.level = 3;
    updateOrb2();
    EXPECT_EQ(game.orb2Radius, 19);
}

TEST_F(LauncherTest, OrbTwoStillMovesAndHitsInTheFrameItLeaves) {
    game.level = 1;
    game.launcherState = 2;
    game.orb2Active = 1;
    game.orb2X = 10;
    game.orb2Y = -32;
    game.velX = 2;
    updateOrb2();
    EXPECT_EQ(game.orb2Active, 0);
    EXPECT_EQ(game.orb2Y, -33);
    EXPECT_EQ(game.orb2X, 13);
}

TEST_F(LauncherTest, OrbThreeJoinsFromLevelOneWhileTheHeadPointsLeft) {
    game.scrollPos = 1500;
    game.launcherState = 1;
    updateOrb3();
    EXPECT_EQ(game.orb3Active, 0);
    game.level = 2;
    updateOrb3();
    EXPECT_EQ(game.orb3Active, 1);
    EXPECT_EQ(game.orb3X, 845);  // released at 1500 - 653, then two steps left
    EXPECT_EQ(game.orb3Y, 355);
    EXPECT_TRUE(isDraw(drawCalls()[0], surfOrbB, {0, 0, 32, 32}, 845, 355));
}

TEST_F(LauncherTest, OrbThreeLeavesAtMinus33) {
    game.level = 1;
    game.launcherState = 2;
    game.orb3Active = 1;
    game.orb3Y = -32;
    updateOrb3();
    EXPECT_EQ(game.orb3Active, 0);
}

TEST_F(LauncherTest, LauncherLiftsALowHelicopter) {
    game.heliY = 335;
    game.scrollPos = 900;
    pushAboveLauncher();
    EXPECT_EQ(game.heliY, 325);
    pushAboveLauncher();
    EXPECT_EQ(game.heliY, 325);
    const double outside[] = {860, 1080};
    for (double scrollPos : outside) {
        game.heliY = 400;
        game.scrollPos = scrollPos;
        pushAboveLauncher();
        EXPECT_EQ(game.heliY, 400) << scrollPos;
    }
}

TEST_F(LauncherTest, LevelZeroOnlyEverReleasesOrbOne) {
    for (double scrollPos = 0; scrollPos <= 1920; scrollPos += 10) {
        game.scrollPos = scrollPos;
        runGame();
        EXPECT_EQ(game.orb2Active, 0);
        EXPECT_EQ(game.orb3Active, 0);
    }
}

}  // namespace
