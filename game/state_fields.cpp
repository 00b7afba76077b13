// The field table. The ranges are what play itself keeps each field within,
// seen between two frames; a field the player's own keys can push for ever
// (an orb's x while the view scrolls) gets the widest range a flight can
// reach.

#include "game/state_fields.h"

#include <limits>

namespace {

constexpr StateField intField(const char* name, int32_t GameState::*member, double lowest,
                              double highest) {
    return {name, member, nullptr, lowest, highest};
}

constexpr StateField doubleField(const char* name, double GameState::*member, double lowest,
                                 double highest) {
    return {name, nullptr, member, lowest, highest};
}

// Energy has no floor: the hazards keep hitting while the helicopter falls
// and explodes, and a won and lost game at once can run for as long as the
// player holds it in the air.
constexpr double noFloor = std::numeric_limits<int32_t>::min();

// An orb lives at most about 390 frames and moves at most about 7.4 pixels a
// frame sideways (its own 3 plus the helicopter's 4.4) from its release point.
constexpr double orbLeftmost = -3500;
constexpr double orbRightmost = 4000;

constexpr StateField fields[] = {
    doubleField("scrollPos", &GameState::scrollPos, 0, 1922),
    doubleField("velX", &GameState::velX, -4.2, 4.4),
    doubleField("velY", &GameState::velY, -4.2, 4.2),
    doubleField("heliX", &GameState::heliX, 0, 400),
    doubleField("heliY", &GameState::heliY, 0, 410),
    intField("heliFacingLeft", &GameState::heliFacingLeft, 0, 1),
    intField("rotorFrame", &GameState::rotorFrame, 0, 4),
    intField("rotorDelay", &GameState::rotorDelay, 0, 19),
    intField("energy", &GameState::energy, noFloor, 352),
    intField("level", &GameState::level, 0, 7),
    intField("rescuedCount", &GameState::rescuedCount, 0, 7),
    doubleField("moonBaseX", &GameState::moonBaseX, 20, 20),
    doubleField("moonBaseY", &GameState::moonBaseY, 200, 200),
    intField("launcherState", &GameState::launcherState, 0, 2),
    intField("orb1Active", &GameState::orb1Active, 0, 1),
    intField("orb2Active", &GameState::orb2Active, 0, 1),
    intField("orb3Active", &GameState::orb3Active, 0, 1),
    doubleField("orb1X", &GameState::orb1X, orbLeftmost, orbRightmost),
    doubleField("orb1Y", &GameState::orb1Y, -40, 345),
    doubleField("orb1DrawX", &GameState::orb1DrawX, orbLeftmost - 40, orbRightmost + 40),
    doubleField("orb1DrawY", &GameState::orb1DrawY, -80, 385),
    doubleField("orb2X", &GameState::orb2X, orbLeftmost, orbRightmost),
    doubleField("orb2Y", &GameState::orb2Y, -40, 350),
    doubleField("orb2DrawX", &GameState::orb2DrawX, orbLeftmost - 51, orbRightmost + 51),
    doubleField("orb2DrawY", &GameState::orb2DrawY, -91, 401),
    doubleField("orb3X", &GameState::orb3X, orbLeftmost, orbRightmost),
    doubleField("orb3Y", &GameState::orb3Y, -40, 357),
    doubleField("orb1Angle", &GameState::orb1Angle, 0, 360),
    doubleField("orb2Angle", &GameState::orb2Angle, 0, 360),
    intField("orb1Radius", &GameState::orb1Radius, 40, 40),
    intField("orb2Radius", &GameState::orb2Radius, 19, 51),
    intField("orb2RadiusGrowing", &GameState::orb2RadiusGrowing, 0, 1),
    doubleField("crusherY", &GameState::crusherY, 65, 221),
    intField("crusherRising", &GameState::crusherRising, 0, 1),
    intField("landingActive", &GameState::landingActive, 0, 1),
    intField("heliLanded", &GameState::heliLanded, 0, 1),
    intField("manWaiting", &GameState::manWaiting, 0, 1),
    intField("carryingMan", &GameState::carryingMan, 0, 1),
    doubleField("walkerX", &GameState::walkerX, 0, 500),
    intField("walkerDir", &GameState::walkerDir, 0, 1),
    intField("walkerStep", &GameState::walkerStep, 0, 93),
    intField("subSurfacing", &GameState::subSurfacing, 0, 1),
    intField("subHeight", &GameState::subHeight, 0, 28),
    intField("subTimer", &GameState::subTimer, -199, 100),
    intField("rocketActive", &GameState::rocketActive, 0, 1),
    doubleField("rocketY", &GameState::rocketY, -60, 449),
    doubleField("rocketSpeed", &GameState::rocketSpeed, 0, 7),
    intField("explosionActive", &GameState::explosionActive, 0, 1),
    intField("explosionFrame", &GameState::explosionFrame, 0, 8),
    intField("explosionDelay", &GameState::explosionDelay, 0, 5),
    intField("crashExplosionPending", &GameState::crashExplosionPending, 0, 1),
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
