// The game record: start values, the reset between games, the field table,
// and the frame as a whole.

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>

#include "game/state_fields.h"
#include "game_test_support.h"

namespace {

using namespace game_test;

using GameStateTest = GameTest;

TEST_F(GameStateTest, StartValuesAreThoseOfANewProgram) {
    const GameState start;
    EXPECT_EQ(start.scrollPos, 0);
    EXPECT_EQ(start.heliX, 230);
    EXPECT_EQ(start.heliY, 370);
    EXPECT_EQ(start.heliFacingLeft, 1);
    EXPECT_EQ(start.energy, 352);
    EXPECT_EQ(start.manWaiting, 1);
    EXPECT_EQ(start.launcherState, 2);
    EXPECT_EQ(start.orb1Radius, 40);
    EXPECT_EQ(start.orb2Radius, 20);
    EXPECT_EQ(start.orb2RadiusGrowing, 1);
    EXPECT_EQ(start.crusherY, 220);
    EXPECT_EQ(start.rocketY, 449);
    EXPECT_EQ(start.crashExplosionPending, 1);
    EXPECT_EQ(start.moonBaseX, 20);
    EXPECT_EQ(start.moonBaseY, 200);
}

TEST_F(GameStateTest, ResetStartsANewGameButKeepsTheWorld) {
    // Give every field a value no reset would write.
    for (const StateField& field : stateFields()) {
        writeField(game, field, 7);
    }
    const GameState before = game;
    resetGame();
    const std::map<std::string, double> written = {
        {"energy", 352},       {"level", 0},
        {"rescuedCount", 0},   {"carryingMan", 0},
        {"manWaiting", 1},     {"heliLanded", 0},
        {"landingActive", 0},  {"scrollPos", 0},
        {"heliY", 370},        {"velX", 0},
        {"velY", 0},           {"orb1Active", 0},
        {"orb2Active", 0},     {"orb3Active", 0},
        {"heliFacingLeft", 1}, {"crashExplosionPending", 1},
        {"explosionDelay", 0}, {"explosionFrame", 0},
        {"subSurfacing", 0},   {"subHeight", 0},
        {"subTimer", 0},
    };
    for (const StateField& field : stateFields()) {
        const auto value = written.find(field.name);
        if (value != written.end()) {
            EXPECT_EQ(readField(game, field), value->second) << field.name << " is reset";
        } else {
            EXPECT_EQ(readField(game, field), readField(before, field)) << field.name << " is kept";
        }
    }
}

TEST_F(GameStateTest, LauncherStateKeptByTheResetIsRecomputedBeforeUse) {
    game.launcherState = 1;
    resetGame();
    EXPECT_EQ(game.launcherState, 1);
    game.level = 1;  // orbs 2 and 3 fly from the second mission
    runGame();
    EXPECT_EQ(game.launcherState, 0);
    EXPECT_EQ(game.orb2Active, 1);
    EXPECT_EQ(game.orb3Active, 0);
}

TEST_F(GameStateTest, FieldTableNamesEveryFieldOnce) {
    const auto fields = stateFields();
    EXPECT_EQ(fields.size(), 51u);
    std::set<std::string> names;
    size_t bytes = 0;
    for (const StateField& field : fields) {
        EXPECT_TRUE(names.insert(field.name).second) << field.name;
        EXPECT_NE(field.intMember == nullptr, field.doubleMember == nullptr) << field.name;
        bytes += field.intMember != nullptr ? sizeof(int32_t) : sizeof(double);
    }
    // Every byte of the record belongs to a field (give or take padding).
    EXPECT_LE(bytes, sizeof(GameState));
    EXPECT_GT(bytes + 8 * sizeof(int32_t), sizeof(GameState));
}

TEST_F(GameStateTest, FieldTableFindsFieldsByTheirExactNames) {
    const StateField* heliX = findStateField("heliX");
    ASSERT_NE(heliX, nullptr);
    EXPECT_EQ(heliX->doubleMember, &GameState::heliX);
    const StateField* walkerStep = findStateField("walkerStep");
    ASSERT_NE(walkerStep, nullptr);
    EXPECT_EQ(walkerStep->intMember, &GameState::walkerStep);
    EXPECT_EQ(findStateField("helix"), nullptr);
    EXPECT_EQ(findStateField(""), nullptr);
}

TEST_F(GameStateTest, FieldTableReadsAndWrites) {
    writeField(game, *findStateField("scrollPos"), 1234.25);
    writeField(game, *findStateField("energy"), 17.9);
    EXPECT_EQ(game.scrollPos, 1234.25);
    EXPECT_EQ(game.energy, 17);
    EXPECT_EQ(readField(game, *findStateField("energy")), 17);
}

TEST_F(GameStateTest, StartValuesLieWithinTheKeptRanges) {
    const GameState start;
    for (const StateField& field : stateFields()) {
        EXPECT_GE(readField(start, field), field.lowest) << field.name;
        EXPECT_LE(readField(start, field), field.highest) << field.name;
    }
    EXPECT_EQ(findStateField("heliX")->highest, 400);
    EXPECT_EQ(findStateField("scrollPos")->highest, 1922);
    EXPECT_EQ(findStateField("energy")->highest, 352);
}

TEST_F(GameStateTest, EveryValuePlayKeepsCanBeSetAndNothingFarBeyond) {
    for (const StateField& field : stateFields()) {
        // Energy alone has no floor in play; set, it takes a far one.
        const double lowest = std::max(field.lowest, field.settableLowest);
        EXPECT_TRUE(settable(field, lowest)) << field.name;
        EXPECT_TRUE(settable(field, field.highest)) << field.name;
        EXPECT_FALSE(settable(field, field.settableLowest - 1)) << field.name;
        EXPECT_FALSE(settable(field, field.settableHighest + 1)) << field.name;
        EXPECT_FALSE(settable(field, std::numeric_limits<double>::quiet_NaN())) << field.name;
        // Nothing the game turns into whole pixels or counts on may leave 32 bits.
        EXPECT_GT(field.settableLowest, -1e6) << field.name;
        EXPECT_LT(field.settableHighest, 1e6) << field.name;
    }
    EXPECT_FALSE(settable(*findStateField("level"), 1.5)) << "a whole number";
    EXPECT_TRUE(settable(*findStateField("heliX"), 1.5));
    EXPECT_FALSE(settable(*findStateField("rotorFrame"), 5)) << "there are five rotor pictures";
}

// Index of the first draw of a surface in the frame.
size_t firstDraw(const Surface* surface) {
    const auto& draws = drawCalls();
    const auto found = std::find_if(draws.begin(), draws.end(),
                                    [&](const DrawCall& call) { return call.surface == surface; });
    return static_cast<size_t>(found - draws.begin());
}

TEST_F(GameStateTest, FramePaintsInTheOrderOfItsPhases) {
    game.level = 3;
    game.scrollPos = 600;
    game.orb1Active = 1;
    game.rocketActive = 1;
    game.rocketY = 300;
    game.explosionActive = 1;
    runGame();
    const size_t order[] = {
        firstDraw(surfSkyA),        firstDraw(surfTerrain[0]),   firstDraw(surfLauncher[0]),
        firstDraw(surfOrbA),        firstDraw(surfOrbB),         firstDraw(surfCrusher),
        firstDraw(surfHeliLeft[0]), firstDraw(surfWalker[0]),    firstDraw(surfSubmarine),
        firstDraw(surfRocket),      firstDraw(surfExplosion[0]), firstDraw(surfManDim),
        firstDraw(surfBarFrame),    firstDraw(surfBarFill),
    };
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_LT(order[i], order[i + 1]) << "draw " << i;
    }
    EXPECT_EQ(order[std::size(order) - 1], drawCalls().size() - 1);
}

}  // namespace
