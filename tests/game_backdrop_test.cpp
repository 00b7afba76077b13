// The scrolling backdrop: sky halves, moon and ground segments for a given
// course position.

#include "game/backdrop.h"
#include "game/state_fields.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

class BackdropTest : public GameTest {
  protected:
    void drawAt(double scrollPos) {
        game.scrollPos = scrollPos;
        drawBackdrop();
    }
};

TEST_F(BackdropTest, AtTheBaseOnlyTheBaseSkyAndTheFirstSegmentShow) {
    drawAt(0);
    const auto& draws = drawCalls();
    ASSERT_EQ(draws.size(), 7u);
    EXPECT_TRUE(isDraw(draws[0], surfSkyA, {0, 0, 640, 352}, 0, 0));
    EXPECT_TRUE(isDraw(draws[1], surfSkyB, {640, 0, 640, 352}, 0, 0));
    EXPECT_TRUE(isDraw(draws[2], surfMoon, {0, 0, 160, 160}, 20, 200));
    EXPECT_TRUE(isDraw(draws[3], surfTerrain[0], {0, 0, 640, 192}, 0, 288));
    // The segments still off to the left get empty sources and draw nothing.
    EXPECT_TRUE(isDraw(draws[4], surfTerrain[1], {640, 0, 640, 192}, 0, 288));
    EXPECT_TRUE(isDraw(draws[5], surfTerrain[2], {1280, 0, 640, 192}, 0, 288));
    EXPECT_TRUE(isDraw(draws[6], surfTerrain[3], {1920, 0, 640, 192}, 0, 288));
}

TEST_F(BackdropTest, AtTheFarEndOnlyTheFarSkyAndTheLastSegmentShow) {
    drawAt(1920);
    const auto& draws = drawCalls();
    ASSERT_EQ(draws.size(), 5u);
    EXPECT_TRUE(isDraw(draws[0], surfSkyA, {0, 0, 0, 352}, 640, 0));
    EXPECT_TRUE(isDraw(draws[1], surfSkyB, {0, 0, 640, 352}, 0, 0));
    EXPECT_TRUE(isDraw(draws[2], surfMoon, {0, 0, 160, 160}, 148, 72));
    EXPECT_TRUE(isDraw(draws[3], surfTerrain[2], {0, 0, 0, 192}, 640, 288));
    EXPECT_TRUE(isDraw(draws[4], surfTerrain[3], {0, 0, 640, 192}, 0, 288));
}

TEST_F(BackdropTest, BetweenSegmentsTwoShowSideBySide) {
    drawAt(700);
    EXPECT_TRUE(drawsOf(surfTerrain[0]).empty());
    ASSERT_EQ(drawsOf(surfTerrain[1]).size(), 1u);
    EXPECT_TRUE(isDraw(drawsOf(surfTerrain[1])[0], surfTerrain[1], {0, 0, 580, 192}, 60, 288));
    ASSERT_EQ(drawsOf(surfTerrain[2]).size(), 1u);
    EXPECT_TRUE(isDraw(drawsOf(surfTerrain[2])[0], surfTerrain[2], {580, 0, 640, 192}, 0, 288));
    ASSERT_EQ(drawsOf(surfTerrain[3]).size(), 1u);
    EXPECT_TRUE(isDraw(drawsOf(surfTerrain[3])[0], surfTerrain[3], {1220, 0, 640, 192}, 0, 288));
}

TEST_F(BackdropTest, SegmentThresholdsAtExactMultiplesOf640) {
    // At 640 segment 0 is still drawn (empty), segment 1 fills the screen.
    drawAt(640);
    ASSERT_EQ(drawsOf(surfTerrain[0]).size(), 1u);
    EXPECT_TRUE(isDraw(drawsOf(surfTerrain[0])[0], surfTerrain[0], {0, 0, 0, 192}, 640, 288));
    EXPECT_TRUE(isDraw(drawsOf(surfTerrain[1])[0], surfTerrain[1], {0, 0, 640, 192}, 0, 288));
    drawCalls().clear();
    drawAt(640.5);
    EXPECT_TRUE(drawsOf(surfTerrain[0]).empty());
    EXPECT_TRUE(isDraw(drawsOf(surfTerrain[1])[0], surfTerrain[1], {0, 0, 639, 192}, 0, 288));
}

TEST_F(BackdropTest, EachPieceIsTruncatedOnItsOwn) {
    drawAt(1);
    // 640 - 1/3 and 1/3 truncate separately, leaving column 639 unpainted.
    EXPECT_TRUE(isDraw(drawsOf(surfSkyA)[0], surfSkyA, {0, 0, 639, 352}, 0, 0));
    EXPECT_TRUE(isDraw(drawsOf(surfSkyB)[0], surfSkyB, {639, 0, 640, 352}, 0, 0));
    EXPECT_TRUE(isDraw(drawsOf(surfMoon)[0], surfMoon, {0, 0, 160, 160}, 20, 199));
}

TEST_F(BackdropTest, EndFlightsCanCarryTheViewTwoPastTheFarEnd) {
    drawAt(1922);
    EXPECT_TRUE(isDraw(drawsOf(surfSkyB)[0], surfSkyB, {0, 0, 640, 352}, 0, 0));
    ASSERT_EQ(drawsOf(surfTerrain[3]).size(), 1u);
    EXPECT_TRUE(isDraw(drawsOf(surfTerrain[3])[0], surfTerrain[3], {0, 0, 638, 192}, 2, 288));
    EXPECT_TRUE(drawsOf(surfTerrain[2]).empty());
}

TEST_F(BackdropTest, TheMoonRisesAtAFifteenthOfTheScrollingRate) {
    drawAt(960);
    EXPECT_TRUE(isDraw(drawsOf(surfMoon)[0], surfMoon, {0, 0, 160, 160}, 84, 136));
}

TEST_F(BackdropTest, ChangesNoState) {
    game.scrollPos = 1234.5;
    const GameState before = game;
    drawBackdrop();
    for (const StateField& field : stateFields()) {
        EXPECT_EQ(readField(game, field), readField(before, field)) << field.name;
    }
}

}  // namespace
