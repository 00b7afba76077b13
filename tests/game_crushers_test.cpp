// The crusher columns and pillars at their two sites.

#include <algorithm>

#include "game/crushers.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

using CrushersTest = GameTest;

TEST_F(CrushersTest, NothingBeforeTheThirdMission) {
    for (int level = 0; level <= 1; ++level) {
        game = GameState{};
        drawCalls().clear();
        game.level = level;
        game.scrollPos = 600;
        game.heliY = 350;
        runGame();
        EXPECT_TRUE(drawsOf(surfCrusher).empty()) << level;
        EXPECT_TRUE(drawsOf(surfPillar).empty()) << level;
        EXPECT_EQ(game.crusherY, 220) << level;
        EXPECT_EQ(game.heliY, 350) << level;  // no pillar push
    }
}

TEST_F(CrushersTest, FirstSiteFromLevelTwoMovesOneStepAFrame) {
    game.level = 2;
    game.scrollPos = 600;
    game.heliY = 350;
    runGame();
    EXPECT_EQ(drawsOf(surfCrusher).size(), 1u);
    EXPECT_EQ(drawsOf(surfPillar).size(), 1u);
    EXPECT_EQ(game.crusherY, 220.7);
    EXPECT_EQ(game.crusherRising, 1);
    EXPECT_EQ(game.heliY, 340);  // pushed up by the first pillar
}

TEST_F(CrushersTest, SecondSiteFromLevelThreeDoublesTheSpeed) {
    game.level = 3;
    game.scrollPos = 600;
    runGame();
    EXPECT_EQ(drawsOf(surfCrusher).size(), 2u);
    EXPECT_DOUBLE_EQ(game.crusherY, 220.7 - 4.5);
}

TEST_F(CrushersTest, ColumnsSinkSlowlyAndShootUp) {
    double lowest = game.crusherY;
    double highest = game.crusherY;
    int risingSteps = 0;
    int sinkingSteps = 0;
    for (int step = 0; step < 2000; ++step) {
        crusherStep(CrusherSite::first);
        lowest = std::min(lowest, game.crusherY);
        highest = std::max(highest, game.crusherY);
        (game.crusherRising != 0 ? risingSteps : sinkingSteps) += 1;
    }
    EXPECT_GE(lowest, 65.5);
    EXPECT_LT(lowest, 70.7);
    EXPECT_GT(highest, 220);
    EXPECT_LE(highest, 220.7 + 1e-9);
    // About 34 steps up and 220 down in each cycle.
    EXPECT_NEAR(static_cast<double>(sinkingSteps) / risingSteps, 220.0 / 34.0, 0.5);
}

TEST_F(CrushersTest, ColumnTurningAtTheTopStartsSinkingInTheSameStep) {
    game.crusherRising = 1;
    game.crusherY = 72;
    crusherStep(CrusherSite::first);
    EXPECT_EQ(game.crusherRising, 0);
    EXPECT_DOUBLE_EQ(game.crusherY, 72 - 4.5 + 0.7);
}

TEST_F(CrushersTest, SlamSoundsOnlyInsideTheSitesWindow) {
    const struct {
        CrusherSite site;
        double scrollPos;
        int plays;
    } cases[] = {
        {CrusherSite::first, 100, 0},   {CrusherSite::first, 100.5, 1},
        {CrusherSite::first, 939.5, 1}, {CrusherSite::first, 940, 0},
        {CrusherSite::second, 1020, 0}, {CrusherSite::second, 1300, 1},
        {CrusherSite::second, 1595, 0}, {CrusherSite::first, 1300, 0},
    };
    for (const auto& c : cases) {
        soundCalls().clear();
        game.crusherRising = 0;
        game.crusherY = 219.5;
        game.scrollPos = c.scrollPos;
        crusherStep(c.site);
        EXPECT_EQ(game.crusherRising, 1);
        EXPECT_EQ(playsOf(sndCrusherSlam), c.plays) << c.scrollPos;
    }
}

TEST_F(CrushersTest, SiteEntersAtTheLeftEdgeWithoutATest) {
    game.crusherY = 100;
    game.heliX = 0;
    game.heliY = 150;
    game.scrollPos = 286;  // anchor - 64: a source of zero width
    drawCrusherSite(CrusherSite::first);
    game.scrollPos = 318;
    drawCrusherSite(CrusherSite::first);
    game.scrollPos = 350;  // exactly at the anchor: whole, still no test
    drawCrusherSite(CrusherSite::first);
    const auto& draws = drawCalls();
    ASSERT_EQ(draws.size(), 6u);
    EXPECT_TRUE(isDraw(draws[0], surfCrusher, {64, 0, 64, 240}, 0, 100));
    EXPECT_TRUE(isDraw(draws[1], surfPillar, {64, 0, 64, 128}, 0, 352));
    EXPECT_TRUE(isDraw(draws[2], surfCrusher, {32, 0, 64, 240}, 0, 100));
    EXPECT_TRUE(isDraw(draws[4], surfCrusher, {0, 0, 64, 240}, 0, 100));
    EXPECT_TRUE(isDraw(draws[5], surfPillar, {0, 0, 64, 128}, 0, 352));
    EXPECT_EQ(game.energy, 352);
}

TEST_F(CrushersTest, JustPastTheAnchorTheColumnHits) {
    game.level = 2;
    game.crusherY = 100;
    game.heliX = 0;
    game.heliY = 150;
    game.scrollPos = 350.5;
    drawCrusherSite(CrusherSite::first);
    EXPECT_TRUE(isDraw(drawCalls()[0], surfCrusher, {0, 0, 64, 240}, 0, 100));
    EXPECT_EQ(game.energy, 351);
    EXPECT_EQ(playsOf(sndMetalHit), 1);
}

TEST_F(CrushersTest, SiteLeavesAtTheRightEdgeWithoutATest) {
    game.crusherY = 100.9;
    game.scrollPos = 926;  // anchor + 576: whole, at x 576, no test
    drawCrusherSite(CrusherSite::first);
    game.scrollPos = 950.5;
    drawCrusherSite(CrusherSite::first);
    const auto& draws = drawCalls();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_TRUE(isDraw(draws[0], surfCrusher, {0, 0, 64, 240}, 576, 100));
    EXPECT_TRUE(isDraw(draws[1], surfPillar, {0, 0, 64, 128}, 576, 352));
    EXPECT_TRUE(isDraw(draws[2], surfCrusher, {0, 0, 39, 240}, 600, 100));
    EXPECT_TRUE(isDraw(draws[3], surfPillar, {0, 0, 39, 128}, 600, 352));
}

// Energy lost to one contact with a column of the given site.
int crusherHitCost(CrusherSite site, int level, double heliX) {
    game = GameState{};
    game.level = level;
    game.crusherY = 100;
    game.heliX = heliX;
    game.heliY = 150;
    // Both columns are drawn at screen x 130.
    game.scrollPos = site == CrusherSite::first ? 480 : 1200;
    drawCrusherSite(site);
    return 352 - game.energy;
}

TEST_F(CrushersTest, HitCostsOneThreeOrFourByLevel) {
    EXPECT_EQ(crusherHitCost(CrusherSite::first, 2, 130), 1);
    EXPECT_EQ(crusherHitCost(CrusherSite::first, 3, 130), 3);
    EXPECT_EQ(crusherHitCost(CrusherSite::first, 4, 130), 4);
    EXPECT_EQ(crusherHitCost(CrusherSite::first, 6, 130), 4);
    EXPECT_EQ(crusherHitCost(CrusherSite::second, 3, 130), 3);
    EXPECT_EQ(crusherHitCost(CrusherSite::second, 4, 130), 4);
}

TEST_F(CrushersTest, SecondSiteTestsABoxLeftOfItsColumn) {
    // Both columns stand at x 130; a helicopter at x 140 touches the first
    // but passes the second, whose box begins 30 pixels further left.
    EXPECT_EQ(crusherHitCost(CrusherSite::first, 3, 140), 3);
    EXPECT_EQ(crusherHitCost(CrusherSite::second, 3, 140), 0);
    ASSERT_EQ(drawsOf(surfCrusher).size(), 2u);
    EXPECT_TRUE(isDraw(drawsOf(surfCrusher)[0], surfCrusher, {0, 0, 64, 240}, 130, 100));
    EXPECT_TRUE(isDraw(drawsOf(surfCrusher)[1], surfCrusher, {0, 0, 64, 240}, 130, 100));
}

TEST_F(CrushersTest, PillarsLiftALowHelicopterOverTheirStretch) {
    const struct {
        CrusherSite site;
        double heliY;
        double scrollPos;
        double after;
    } cases[] = {
        {CrusherSite::first, 300, 500, 290},     {CrusherSite::first, 300, 720, 290},
        {CrusherSite::first, 299.9, 600, 299.9}, {CrusherSite::first, 350, 499.9, 350},
        {CrusherSite::first, 350, 720.1, 350},   {CrusherSite::second, 300, 1220, 290},
        {CrusherSite::second, 300, 1440, 290},   {CrusherSite::second, 300, 1440.5, 300},
    };
    for (const auto& c : cases) {
        game.heliY = c.heliY;
        game.scrollPos = c.scrollPos;
        pushAbovePillar(c.site);
        EXPECT_EQ(game.heliY, c.after) << c.heliY << " at " << c.scrollPos;
    }
}

TEST_F(CrushersTest, AtLevelThreeTheSlamCanComeFromEitherStep) {
    // The second site's step turns the column, outside its own window but
    // inside the first site's: no sound, since only the turning step counts.
    game.level = 3;
    game.crusherY = 219.5;
    game.scrollPos = 600;
    updateCrushers();
    EXPECT_EQ(game.crusherRising, 1);
    EXPECT_EQ(playsOf(sndCrusherSlam), 0);
    // Turned by the first site's step, inside its window: the slam sounds.
    game = GameState{};
    game.level = 3;
    game.crusherY = 219;
    game.scrollPos = 600;
    updateCrushers();
    EXPECT_EQ(game.crusherRising, 1);
    EXPECT_EQ(playsOf(sndCrusherSlam), 1);
}

}  // namespace
