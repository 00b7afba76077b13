// The field table. The kept ranges are what play itself keeps each field
// within, seen between two frames; a field the player's own keys can push for
// ever (an orb's x while the view scrolls) gets the widest range a flight can
// reach.
//
// The settable ranges are what a tool may put into a field before a step.
// Positions and speeds get a margin around what play reaches: a screen's width
// or height for positions, a little over twice the fastest flight for speeds,
// so a test can start things just off the screen or a little too fast. Every
// frame turns positions into whole pixels and adds to its counters; within
// these ranges none of that can leave the 32 bits it is done in. Flags, the
// pictures an index chooses from an array, the mission count and the
// counters take only the values play gives them.

#include "game/state_fields.h"

#include <cmath>
#include <limits>

namespace {

struct Range {
    double lowest;
    double highest;
};

constexpr StateField intField(const char* name, int32_t GameState::*member, Range kept) {
    return {name, member, nullptr, kept.lowest, kept.highest, kept.lowest, kept.highest};
}

constexpr StateField intField(const char* name, int32_t GameState::*member, Range kept,
                              Range settable) {
    return {name, member, nullptr, kept.lowest, kept.highest, settable.lowest, settable.highest};
}

constexpr StateField doubleField(const char* name, double GameState::*member, Range kept,
                                 Range settable) {
    return {name, nullptr, member, kept.lowest, kept.highest, settable.lowest, settable.highest};
}

// Energy has no floor: the hazards keep hitting while the helicopter falls
// and explodes, and a won and lost game at once can run for as long as the
// player holds it in the air. Set, it takes a floor far below any lost game,
// and no more than a full bar.
constexpr double noFloor = std::numeric_limits<int32_t>::min();
constexpr Range settableEnergy{-100000, 352};

// An orb lives at most about 390 frames and moves at most about 7.4 pixels a
// frame sideways (its own 3 plus the helicopter's 4.4) from its release point.
constexpr double orbLeftmost = -3500;
constexpr double orbRightmost = 4000;

// The margins of the settable ranges.
constexpr double screenWidth = 640;
constexpr double screenHeight = 480;
constexpr Range settableSpeed{-10, 10};
constexpr Range acrossTheScreen{-screenWidth, 2 * screenWidth};
constexpr Range downTheScreen{-screenHeight, 2 * screenHeight};
constexpr Range orbAcross{orbLeftmost - 2 * screenWidth, orbRightmost + 2 * screenWidth};
constexpr Range anyAngle{-720, 720};

constexpr StateField fields[] = {
    doubleField("scrollPos", &GameState::scrollPos, {0, 1922}, {-screenWidth, 1922 + screenWidth}),
    doubleField("velX", &GameState::velX, {-4.2, 4.4}, settableSpeed),
    doubleField("velY", &GameState::velY, {-4.2, 4.2}, settableSpeed),
    doubleField("heliX", &GameState::heliX, {0, 400}, acrossTheScreen),
    doubleField("heliY", &GameState::heliY, {0, 410}, downTheScreen),
    intField("heliFacingLeft", &GameState::heliFacingLeft, {0, 1}),
    intField("rotorFrame", &GameState::rotorFrame, {0, 4}),
    intField("rotorDelay", &GameState::rotorDelay, {0, 19}),
    intField("energy", &GameState::energy, {noFloor, 352}, settableEnergy),
    intField("level", &GameState::level, {0, 7}),
    intField("rescuedCount", &GameState::rescuedCount, {0, 7}),
    doubleField("moonBaseX", &GameState::moonBaseX, {20, 20}, acrossTheScreen),
    doubleField("moonBaseY", &GameState::moonBaseY, {200, 200}, downTheScreen),
    intField("launcherState", &GameState::launcherState, {0, 2}),
    intField("orb1Active", &GameState::orb1Active, {0, 1}),
    intField("orb2Active", &GameState::orb2Active, {0, 1}),
    intField("orb3Active", &GameState::orb3Active, {0, 1}),
    doubleField("orb1X", &GameState::orb1X, {orbLeftmost, orbRightmost}, orbAcross),
    doubleField("orb1Y", &GameState::orb1Y, {-40, 345}, downTheScreen),
    doubleField("orb1DrawX", &GameState::orb1DrawX, {orbLeftmost - 40, orbRightmost + 40},
                orbAcross),
    doubleField("orb1DrawY", &GameState::orb1DrawY, {-80, 385}, downTheScreen),
    doubleField("orb2X", &GameState::orb2X, {orbLeftmost, orbRightmost}, orbAcross),
    doubleField("orb2Y", &GameState::orb2Y, {-40, 350}, downTheScreen),
    doubleField("orb2DrawX", &GameState::orb2DrawX, {orbLeftmost - 51, orbRightmost + 51},
                orbAcross),
    doubleField("orb2DrawY", &GameState::orb2DrawY, {-91, 401}, downTheScreen),
    doubleField("orb3X", &GameState::orb3X, {orbLeftmost, orbRightmost}, orbAcross),
    doubleField("orb3Y", &GameState::orb3Y, {-40, 357}, downTheScreen),
    doubleField("orb1Angle", &GameState::orb1Angle, {0, 360}, anyAngle),
    doubleField("orb2Angle", &GameState::orb2Angle, {0, 360}, anyAngle),
    intField("orb1Radius", &GameState::orb1Radius, {40, 40}),
    intField("orb2Radius", &GameState::orb2Radius, {19, 51}),
    intField("orb2RadiusGrowing", &GameState::orb2RadiusGrowing, {0, 1}),
    doubleField("crusherY", &GameState::crusherY, {65, 221}, downTheScreen),
    intField("crusherRising", &GameState::crusherRising, {0, 1}),
    intField("landingActive", &GameState::landingActive, {0, 1}),
    intField("heliLanded", &GameState::heliLanded, {0, 1}),
    intField("manWaiting", &GameState::manWaiting, {0, 1}),
    intField("carryingMan", &GameState::carryingMan, {0, 1}),
    doubleField("walkerX", &GameState::walkerX, {0, 500}, {-screenWidth, 500 + screenWidth}),
    intField("walkerDir", &GameState::walkerDir, {0, 1}),
    intField("walkerStep", &GameState::walkerStep, {0, 93}),
    intField("subSurfacing", &GameState::subSurfacing, {0, 1}),
    intField("subHeight", &GameState::subHeight, {0, 28}),
    intField("subTimer", &GameState::subTimer, {-199, 100}),
    intField("rocketActive", &GameState::rocketActive, {0, 1}),
    doubleField("rocketY", &GameState::rocketY, {-60, 449}, downTheScreen),
    doubleField("rocketSpeed", &GameState::rocketSpeed, {0, 7}, {-7, 14}),
    intField("explosionActive", &GameState::explosionActive, {0, 1}),
    intField("explosionFrame", &GameState::explosionFrame, {0, 8}),
    intField("explosionDelay", &GameState::explosionDelay, {0, 5}),
    intField("crashExplosionPending", &GameState::crashExplosionPending, {0, 1}),
};

}  // namespace

std::span<const StateField> stateFields() {
    return fields;
}

const StateField* findStateField(std::string_view name) {
    for (const StateField& field : fields) {
        if (name == field.name) {
            return &field;
        }
    }
    return nullptr;
}

bool settable(const StateField& field, double value) {
    if (!(value >= field.settableLowest && value <= field.settableHighest)) return false;
    return field.intMember == nullptr || value == std::trunc(value);
}

double readField(const GameState& state, const StateField& field) {
    if (field.intMember != nullptr) {
        return state.*field.intMember;
    }
    return state.*field.doubleMember;
}

void writeField(GameState& state, const StateField& field, double value) {
    if (field.intMember != nullptr) {
        state.*field.intMember = static_cast<int32_t>(value);
    } else {
        state.*field.doubleMember = value;
    }
}
