// The figure icons, the energy bar, the background sound, and the two ends of
// a game with their pictures.

#include "game/end_pictures.h"
#include "game/hud.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

using HudTest = GameTest;

// The passes of the end picture on show as the loop makes them: draw, show,
// then the keys; Return is held in the pass after `blank` passes without it.
// Gives the number of passes.
int passesUntilReturn(int blank) {
    for (int pass = 0;; ++pass) {
        drawEndPicture();
        Controls controls;
        controls.confirm = pass >= blank;
        if (dismissEndPicture(controls)) return pass + 1;
        advanceEndPicture();
    }
}

TEST_F(HudTest, OneIconLightsForEachManPickedUp) {
    game.rescuedCount = 3;
    drawFigureIcons();
    const auto& draws = drawCalls();
    ASSERT_EQ(draws.size(), 7u);
    const int xs[] = {380, 415, 450, 485, 520, 555, 590};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_TRUE(isDraw(draws[i], i < 3 ? surfManLit : surfManDim, {0, 0, 32, 48}, xs[i], 1));
    }
}

TEST_F(HudTest, SevenOrMoreLightEveryIcon) {
    game.rescuedCount = 9;
    drawFigureIcons();
    EXPECT_EQ(drawsOf(surfManLit).size(), 7u);
    EXPECT_TRUE(drawsOf(surfManDim).empty());
}

TEST_F(HudTest, EnergyBarIsAsWideAsTheEnergy) {
    for (int energy : {352, 1, 0, -5}) {
        drawCalls().clear();
        game.energy = energy;
        drawEnergyBar();
        ASSERT_EQ(drawCalls().size(), 2u);
        EXPECT_TRUE(isDraw(drawCalls()[0], surfBarFrame, {0, 0, 352, 24}, 10, 5));
        EXPECT_TRUE(isDraw(drawCalls()[1], surfBarFill, {0, 0, energy, 24}, 10, 5));
    }
}

TEST_F(HudTest, BackgroundSoundLoopsEveryFrame) {
    keepBackgroundSound();
    ASSERT_EQ(soundCalls().size(), 1u);
    EXPECT_TRUE(soundCalls()[0].play);
    EXPECT_EQ(soundCalls()[0].sound, sndRotorLoop);
    EXPECT_EQ(soundCalls()[0].flags, platform::DSBPLAY_LOOPING);
}

TEST_F(HudTest, WonGameClimbsWithTheViewScrolling) {
    game.level = 7;
    game.heliY = 100;
    game.velX = 2;
    game.velY = -1;
    game.scrollPos = 500;
    EXPECT_EQ(flyOutAfterWin(), 1);
    EXPECT_EQ(game.heliY, 98);
    EXPECT_EQ(game.scrollPos, 502);
    EXPECT_EQ(game.velX, 0);
    EXPECT_EQ(game.velY, 0);
}

TEST_F(HudTest, WinPictureOpensFromTheCentreUntilReturn) {
    game.level = 7;
    game.heliY = 2;
    EXPECT_EQ(flyOutAfterWin(), winPictureShows);
    EXPECT_EQ(passesUntilReturn(28), 29);
    const auto draws = drawsOf(surfWinScreen);
    ASSERT_EQ(draws.size(), 29u);
    // Nothing shows for 27 passes; the 28th opens a box 162 wide and 2 high.
    EXPECT_TRUE(isDraw(draws[0], surfWinScreen, {320, 0, 320, -160}, 320, 320));
    EXPECT_TRUE(isDraw(draws[26], surfWinScreen, {242, 0, 398, -4}, 242, 242));
    EXPECT_TRUE(isDraw(draws[27], surfWinScreen, {239, 0, 401, 2}, 239, 239));
    EXPECT_EQ(soundCalls().front().sound, sndVictoryMusic);
    EXPECT_EQ(soundCalls().front().flags, platform::DSBPLAY_LOOPING);
    EXPECT_EQ(stopsOf(sndRotorLoop), 29);
    EXPECT_EQ(stopsOf(sndVictoryMusic), 1);
    EXPECT_FALSE(soundCalls().back().play);
    EXPECT_EQ(soundCalls().back().sound, sndVictoryMusic);
}

TEST_F(HudTest, WinPictureStaysWholeOnceOpen) {
    game.level = 7;
    game.heliY = 1;
    EXPECT_EQ(flyOutAfterWin(), winPictureShows);
    passesUntilReturn(120);
    const auto draws = drawsOf(surfWinScreen);
    ASSERT_EQ(draws.size(), 121u);
    EXPECT_TRUE(isDraw(draws[106], surfWinScreen, {2, 0, 638, 476}, 2, 2));
    EXPECT_TRUE(isDraw(draws[107], surfWinScreen, {0, 0, 640, 480}, 0, 0));
    EXPECT_TRUE(isDraw(draws[120], surfWinScreen, {0, 0, 640, 480}, 0, 0));
}

TEST_F(HudTest, ReturnAlreadyHeldEndsAPictureAfterOnePass) {
    game.level = 7;
    game.heliY = 1;
    EXPECT_EQ(flyOutAfterWin(), winPictureShows);
    EXPECT_EQ(passesUntilReturn(0), 1);
    EXPECT_EQ(drawsOf(surfWinScreen).size(), 1u);
}

TEST_F(HudTest, LostGameFallsToTheGround) {
    game.energy = -1;
    game.heliY = 300;
    game.velY = -2;
    EXPECT_EQ(fallAfterLoss(), 1);
    EXPECT_EQ(game.heliY, 302);
    EXPECT_EQ(game.scrollPos, 2);
    EXPECT_EQ(game.velY, 0);
    EXPECT_TRUE(drawCalls().empty());
}

TEST_F(HudTest, OnTheGroundTheHelicopterExplodesForFiftyFourFrames) {
    game.energy = -1;
    game.heliX = 100.5;
    game.heliY = 409;
    int frames = 0;
    while (game.crashExplosionPending == 1 && frames < 100) {
        EXPECT_EQ(fallAfterLoss(), 1);
        ++frames;
    }
    EXPECT_EQ(frames, 54);
    EXPECT_EQ(game.heliY, 410);
    EXPECT_EQ(game.explosionFrame, 0);
    EXPECT_EQ(game.energy, -1);  // the crash itself costs nothing
    EXPECT_EQ(playsOf(sndExplosion), 54);
    const auto first = drawsOf(surfExplosion[0]);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_TRUE(isDraw(first[0], surfExplosion[0], {0, 0, 96, 96}, 140, 384));
    EXPECT_EQ(drawsOf(surfExplosion[8]).size(), 6u);
}

TEST_F(HudTest, FailurePictureSlidesInFromTheCorner) {
    game.energy = -1;
    game.heliY = 410;
    game.crashExplosionPending = 0;
    EXPECT_EQ(fallAfterLoss(), failurePictureShows);
    EXPECT_EQ(passesUntilReturn(1), 2);
    const auto draws = drawsOf(surfGameOverScreen);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(isDraw(draws[0], surfGameOverScreen, {0, 0, 160, 0}, 480, 480));
    EXPECT_TRUE(isDraw(draws[1], surfGameOverScreen, {0, 0, 165, 5}, 475, 475));
    EXPECT_EQ(soundCalls().front().sound, sndFailureMusic);
    EXPECT_EQ(stopsOf(sndRotorLoop), 2);
    EXPECT_EQ(stopsOf(sndFailureMusic), 1);
}

TEST_F(HudTest, FailurePictureIsWholeFromThe97thPass) {
    game.energy = -1;
    game.heliY = 410;
    game.crashExplosionPending = 0;
    EXPECT_EQ(fallAfterLoss(), failurePictureShows);
    passesUntilReturn(100);
    const auto draws = drawsOf(surfGameOverScreen);
    EXPECT_TRUE(isDraw(draws[95], surfGameOverScreen, {0, 0, 635, 475}, 5, 5));
    EXPECT_TRUE(isDraw(draws[96], surfGameOverScreen, {0, 0, 640, 480}, 0, 0));
    EXPECT_TRUE(isDraw(draws[100], surfGameOverScreen, {0, 0, 640, 480}, 0, 0));
}

TEST_F(HudTest, WonAndLostAtOnceTheClimbAndTheFallCancel) {
    game.level = 7;
    game.energy = -1;
    game.heliY = 200;
    game.scrollPos = 100;
    EXPECT_EQ(runGame(), 1);
    EXPECT_EQ(game.heliY, 200);
    EXPECT_EQ(game.scrollPos, 104);
}

TEST_F(HudTest, BothExplosionsAdvanceTheSharedCounters) {
    game.energy = -1;
    game.heliY = 410;
    game.explosionActive = 1;
    game.explosionDelay = 5;
    EXPECT_EQ(runGame(), 1);
    EXPECT_EQ(game.explosionFrame, 1);
    EXPECT_EQ(game.explosionDelay, 1);
    EXPECT_EQ(game.energy, -11);
}

TEST_F(HudTest, AFrameOnlyDrawsTheLoopShowsIt) {
    const int flips = platform::headless::flipCount();
    EXPECT_EQ(runGame(), frameGoesOn);
    game.energy = -1;
    game.heliY = 410;
    game.crashExplosionPending = 0;
    EXPECT_EQ(runGame(), failurePictureShows);
    EXPECT_EQ(platform::headless::flipCount(), flips);
    EXPECT_EQ(playsOf(sndFailureMusic), 1) << "the failure music starts with the picture";
}

TEST_F(HudTest, EachPictureStartsClosedAgain) {
    game.level = 7;
    game.heliY = 1;
    EXPECT_EQ(flyOutAfterWin(), winPictureShows);
    passesUntilReturn(200);
    drawCalls().clear();
    EXPECT_EQ(flyOutAfterWin(), winPictureShows);
    passesUntilReturn(0);
    ASSERT_EQ(drawsOf(surfWinScreen).size(), 1u);
    EXPECT_TRUE(isDraw(drawsOf(surfWinScreen)[0], surfWinScreen, {320, 0, 320, -160}, 320, 320));
}

}  // namespace
