#pragma once
// Every field of GameState by its name, for tools and tests that read or set
// the game from outside.

#include <cstdint>
#include <span>
#include <string_view>

#include "game/game_state.h"

// One field: its exact name, where it lives (one of the two member pointers is
// set), the values the game keeps it within after any step, and the values a
// tool may set it to, all ends included.
struct StateField {
    const char* name;
    int32_t GameState::*intMember;
    double GameState::*doubleMember;
    double lowest;
    double highest;
    double settableLowest;
    double settableHighest;
};

// All fields, in the order of GameState.
std::span<const StateField> stateFields();
// The field of that name, or null.
const StateField* findStateField(std::string_view name);
// Whether the game can hold the value in the field: within its settable range
// and, for an int field, a whole number.
bool settable(const StateField& field, double value);

// The field's value in a record, as a double (exact for every int32_t).
double readField(const GameState& state, const StateField& field);
// Stores a value; an int field takes it truncated toward zero.
void writeField(GameState& state, const StateField& field, double value);
