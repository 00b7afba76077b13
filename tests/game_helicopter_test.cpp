// The helicopter: its picture, the course ends, free flight, the bounds and
// the rotor.

#include "game/helicopter.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

using HelicopterTest = GameTest;

TEST_F(HelicopterTest, DrawnWithThePicturesOfItsFacing) {
    game.heliX = 230.9;
    game.heliY = 370.5;
    game.rotorFrame = 3;
    drawHelicopter();
    game.heliFacingLeft = 0;
    drawHelicopter();
    const auto& draws = drawCalls();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(isDraw(draws[0], surfHeliLeft[3], {0, 0, 240, 64}, 230, 370));
    EXPECT_TRUE(isDraw(draws[1], surfHeliRight[3], {0, 0, 240, 64}, 230, 370));
}

TEST_F(HelicopterTest, NearTheEndsTheHelicopterItselfMoves) {
    const struct {
        double scrollPos;
        double heliX;
    } cases[] = {{0, 227}, {1.9, 227}, {2, 230}, {1900, 230}, {1900.1, 227}, {1920, 227}};
    for (const auto& c : cases) {
        game.heliX = 230;
        game.velX = 3;
        game.scrollPos = c.scrollPos;
        applyCourseEnds();
        EXPECT_EQ(game.heliX, c.heliX) << c.scrollPos;
    }
}

TEST_F(HelicopterTest, BetweenTheEndsItIsBroughtBackToTwoHundredForItsFacing) {
    const struct {
        double scrollPos;
        int facingLeft;
        double heliX;
        double after;
    } cases[] = {
        {1000, 1, 150, 200}, {1000, 1, 250, 250}, {1000, 0, 250, 200}, {1000, 0, 150, 150},
        {2, 1, 150, 150},    {1729, 1, 150, 200}, {1730, 1, 150, 150}, {300, 0, 250, 250},
        {301, 0, 250, 200},  {1920, 0, 250, 200},
    };
    for (const auto& c : cases) {
        game.velX = 0;
        game.scrollPos = c.scrollPos;
        game.heliFacingLeft = c.facingLeft;
        game.heliX = c.heliX;
        applyCourseEnds();
        EXPECT_EQ(game.heliX, c.after) << c.scrollPos << " facing left " << c.facingLeft;
    }
}

TEST_F(HelicopterTest, LandscapeMovesOnlyInsideTheWindowAboutTwoHundred) {
    const struct {
        double heliX;
        double scrollPos;
    } cases[] = {{197, 1003.5}, {202, 1003.5}, {196.9, 1000}, {202.1, 1000}};
    for (const auto& c : cases) {
        game.scrollPos = 1000;
        game.velX = 3.5;
        game.heliX = c.heliX;
        flyHelicopter();
        EXPECT_EQ(game.scrollPos, c.scrollPos) << c.heliX;
    }
}

TEST_F(HelicopterTest, SpeedsBelowThreeDecayAndTurnTheHelicopter) {
    game.velX = 1;
    game.heliFacingLeft = 0;
    flyHelicopter();
    EXPECT_DOUBLE_EQ(game.velX, 0.9);  // leftward: twice 0.05
    EXPECT_EQ(game.heliFacingLeft, 1);
    game.velX = -1;
    flyHelicopter();
    EXPECT_DOUBLE_EQ(game.velX, -0.95);  // rightward: once
    EXPECT_EQ(game.heliFacingLeft, 0);
}

TEST_F(HelicopterTest, SpeedsOfThreeOrMoreNeitherDecayNorTurn) {
    for (double speed : {3.0, 4.2, -3.0, -4.1}) {
        game.velX = speed;
        game.heliFacingLeft = speed > 0 ? 0 : 1;
        flyHelicopter();
        EXPECT_EQ(game.velX, speed);
        EXPECT_EQ(game.heliFacingLeft, speed > 0 ? 0 : 1);
    }
}

TEST_F(HelicopterTest, ATinyRightwardSpeedCreepsOnFacingLeft) {
    game.velX = -0.01;
    game.heliFacingLeft = 0;
    flyHelicopter();
    EXPECT_NEAR(game.velX, -0.01, 1e-12);
    EXPECT_EQ(game.heliFacingLeft, 1);
}

TEST_F(HelicopterTest, ZeroSpeedKeepsTheFacing) {
    game.velX = 0;
    game.heliFacingLeft = 0;
    flyHelicopter();
    EXPECT_EQ(game.velX, 0);
    EXPECT_EQ(game.heliFacingLeft, 0);
}

TEST_F(HelicopterTest, AClimbDiesAwayButASinkDoesNot) {
    game.velY = -2;
    flyHelicopter();
    EXPECT_EQ(game.heliY, 368);
    EXPECT_DOUBLE_EQ(game.velY, -1.95);
    game.velY = 2;
    flyHelicopter();
    EXPECT_EQ(game.heliY, 370);
    EXPECT_EQ(game.velY, 2);
}

TEST_F(HelicopterTest, LandingStopsFreeFlightButNotTheBounds) {
    game.landingActive = 1;
    game.velX = 2;
    game.velY = 2;
    game.heliX = 200;
    game.scrollPos = 1000;
    flyHelicopter();
    EXPECT_EQ(game.scrollPos, 1000);
    EXPECT_EQ(game.heliY, 370);
    game.heliY = 420;
    flyHelicopter();
    EXPECT_EQ(game.heliY, 410);
}

TEST_F(HelicopterTest, BoundsHoldTheCourseAndTheScreen) {
    // A landing skips free flight, so only the bounds act.
    game.landingActive = 1;
    game.scrollPos = -0.5;
    game.heliY = 0;
    game.velY = -3;
    game.heliX = -1;
    game.velX = 2;
    flyHelicopter();
    EXPECT_EQ(game.scrollPos, 0);
    EXPECT_EQ(game.heliY, 1);
    EXPECT_EQ(game.velY, 0);
    EXPECT_EQ(game.heliX, 0);
    EXPECT_EQ(game.velX, 2);  // the speed is kept

    game.scrollPos = 1920.5;
    game.heliY = 410;
    game.velY = 1;
    game.heliX = 401;
    flyHelicopter();
    EXPECT_EQ(game.scrollPos, 1920);
    EXPECT_EQ(game.heliY, 410);
    EXPECT_EQ(game.velY, 0);
    EXPECT_EQ(game.heliX, 400);

    game.heliY = 0.5;
    game.velY = -1;
    flyHelicopter();
    EXPECT_EQ(game.heliY, 0.5);
    EXPECT_EQ(game.velY, -1);
}

TEST_F(HelicopterTest, RotorTurnsEveryStepInFreeFlight) {
    const int frames[] = {1, 2, 3, 4, 0, 1};
    for (int frame : frames) {
        advanceRotor();
        EXPECT_EQ(game.rotorFrame, frame);
    }
}

// Steps between two turns of the rotor while landing at that height.
int stepsPerRotorTurn(double heliY) {
    game = GameState{};
    game.landingActive = 1;
    game.heliY = heliY;
    int turns = 0;
    int last = game.rotorFrame;
    for (int step = 0; step < 60; ++step) {
        advanceRotor();
        if (game.rotorFrame != last) ++turns;
        last = game.rotorFrame;
    }
    return turns == 0 ? 0 : 60 / turns;
}

TEST_F(HelicopterTest, RotorSlowsWithTheHeightWhileLanding) {
    EXPECT_EQ(stepsPerRotorTurn(285), 3);
    EXPECT_EQ(stepsPerRotorTurn(315), 3);
    EXPECT_EQ(stepsPerRotorTurn(345), 4);
    EXPECT_EQ(stepsPerRotorTurn(400), 5);
    EXPECT_EQ(stepsPerRotorTurn(401), 0);  // standing still below all bands
    EXPECT_EQ(stepsPerRotorTurn(250), 0);
}

TEST_F(HelicopterTest, OverlappingBandsBothAddToTheDelay) {
    game.landingActive = 1;
    game.heliY = 299.5;
    advanceRotor();
    EXPECT_EQ(game.rotorFrame, 1);
    EXPECT_EQ(game.rotorDelay, 16);
    advanceRotor();
    EXPECT_EQ(game.rotorFrame, 1);
    EXPECT_EQ(game.rotorDelay, 0);  // 32 is over 20
}

// Steps the helicopter's own phases of a frame.
void flyFrame() {
    applyCourseEnds();
    flyHelicopter();
}

TEST_F(HelicopterTest, FlyingOutFromTheBaseTheLandscapeTakesOver) {
    game.velX = 3;  // fast enough not to decay
    for (int step = 0; step < 10; ++step) flyFrame();
    // 230, 227, ... 200: in the window the landscape starts to move.
    EXPECT_EQ(game.heliX, 200);
    EXPECT_GT(game.scrollPos, 2);
    const double heliX = game.heliX;
    for (int step = 0; step < 100; ++step) flyFrame();
    EXPECT_EQ(game.heliX, heliX);
}

TEST_F(HelicopterTest, PastTheFarEndTheHelicopterCrossesTheScreen) {
    game.velX = 3.5;
    game.scrollPos = 1890;
    game.heliX = 200;
    for (int step = 0; step < 200; ++step) flyFrame();
    EXPECT_GT(game.scrollPos, 1900);
    EXPECT_LT(game.scrollPos, 1910);
    EXPECT_EQ(game.heliX, 0);
}

TEST_F(HelicopterTest, BackAtTheBaseTheHelicopterCrossesToTheRight) {
    game.velX = -3.5;
    game.heliFacingLeft = 0;
    game.scrollPos = 30;
    game.heliX = 200;
    for (int step = 0; step < 200; ++step) flyFrame();
    EXPECT_GE(game.scrollPos, 0);
    EXPECT_LT(game.scrollPos, 2);
    EXPECT_EQ(game.heliX, 400);
}

}  // namespace
