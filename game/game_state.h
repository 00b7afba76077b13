#pragma once
// Everything a game is made of, in one record, and the frame function.

#include <cstdint>

struct GameState {
    // Helicopter, world and score.
    double scrollPos = 0;  // distance of the view from the base, 0..1920
    double velX = 0;       // px per step, positive = towards the far end (left)
    double velY = 0;       // px per step, positive = down
    double heliX = 230;    // left edge on screen
    double heliY = 370;    // top edge on screen
    int32_t heliFacingLeft = 1;
    int32_t rotorFrame = 0;
    int32_t rotorDelay = 0;
    int32_t energy = 352;  // width of the energy bar; below 0 the game is lost
    int32_t level = 0;     // missions completed; 7 wins
    int32_t rescuedCount = 0;

    // Backdrop.
    double moonBaseX = 20;
    double moonBaseY = 200;

    // Launcher and orb missiles.
    int32_t launcherState = 2;
    int32_t orb1Active = 0;
    int32_t orb2Active = 0;
    int32_t orb3Active = 0;
    double orb1X = 0, orb1Y = 0;
    double orb1DrawX = 0, orb1DrawY = 0;
    double orb2X = 0, orb2Y = 0;
    double orb2DrawX = 0, orb2DrawY = 0;
    double orb3X = 0, orb3Y = 0;
    double orb1Angle = 0;
    double orb2Angle = 0;
    int32_t orb1Radius = 40;
    int32_t orb2Radius = 20;
    int32_t orb2RadiusGrowing = 1;

    // Crushers.
    double crusherY = 220;
    int32_t crusherRising = 0;

    // Landing and rescue.
    int32_t landingActive = 0;
    int32_t heliLanded = 0;
    int32_t manWaiting = 1;
    int32_t carryingMan = 0;
    double walkerX = 0;
    int32_t walkerDir = 0;
    int32_t walkerStep = 0;

    // Submarine, rocket and explosions.
    int32_t subSurfacing = 0;
    int32_t subHeight = 0;
    int32_t subTimer = 0;
    int32_t rocketActive = 0;
    double rocketY = 449;
    double rocketSpeed = 0;
    int32_t explosionActive = 0;
    int32_t explosionFrame = 0;
    int32_t explosionDelay = 0;
    int32_t crashExplosionPending = 1;
};

extern GameState game;

// The end-of-game reset: writes what a new game starts from and keeps the
// rest (the helicopter's x, the crushers, the walking man, a rocket in flight).
void resetGame();

// Play goes on from a game saved before: its record and the generator's
// state as they were then (a replay's game).
void resumeGame(const GameState& saved, uint32_t random);

// What a frame tells the loop: the game goes on, or it has ended and one of
// the two end pictures is to show from now on (its first pass follows at once).
constexpr int32_t frameGoesOn = 1;
constexpr int32_t winPictureShows = 2;
constexpr int32_t failurePictureShows = 3;

// One frame: draws it into the back buffer and moves everything.
int runGame();
