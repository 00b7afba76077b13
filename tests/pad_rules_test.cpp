// A gamepad as every back end reads it: the d-pad or the stick past its dead
// zone steers, buttons count as they are, and all pads play together. And
// each button the settings name is held by its own part of the pad alone.

#include <gtest/gtest.h>

#include "platform/pad.h"
#include "shell/pad_buttons.h"

namespace {

using namespace platform;

PadState stick(int x, int y) {
    PadReading reading;
    reading.stickX = x;
    reading.stickY = y;
    return padHolds(reading);
}

TEST(PadDeadZone, AStickAtItsEdgeCountsAsNothing) {
    for (const int at : {0, 1, -1, stickDeadZone, -stickDeadZone}) {
        const PadState held = stick(at, at);
        EXPECT_FALSE(held.left || held.right || held.up || held.down) << at;
    }
}

TEST(PadDeadZone, OneStepBeyondItSteers) {
    EXPECT_TRUE(stick(stickDeadZone + 1, 0).right);
    EXPECT_TRUE(stick(-stickDeadZone - 1, 0).left);
    EXPECT_TRUE(stick(0, stickDeadZone + 1).down);
    EXPECT_TRUE(stick(0, -stickDeadZone - 1).up);
}

TEST(PadDeadZone, FullTravelSteersOneWayOnly) {
    const PadState upLeft = stick(-32768, -32768);
    EXPECT_TRUE(upLeft.left && upLeft.up);
    EXPECT_FALSE(upLeft.right || upLeft.down);
    const PadState downRight = stick(32767, 32767);
    EXPECT_TRUE(downRight.right && downRight.down);
    EXPECT_FALSE(downRight.left || downRight.up);
}

TEST(PadDeadZone, TheDeadZoneIsAboutAThirdOfTheTravel) {
    EXPECT_GT(stickDeadZone * 10, 32767 * 3);
    EXPECT_LT(stickDeadZone * 10, 32767 * 4);
}

TEST(PadHolds, TheDpadSteersWithTheStickAtRest) {
    PadReading reading;
    reading.buttons.left = true;
    reading.buttons.down = true;
    const PadState held = padHolds(reading);
    EXPECT_TRUE(held.left && held.down);
    EXPECT_FALSE(held.right || held.up);
}

TEST(PadHolds, ButtonsCountAsTheyAre) {
    PadReading reading;
    reading.stickX = 32767;
    reading.buttons.south = true;
    reading.buttons.start = true;
    reading.buttons.rightShoulder = true;
    const PadState held = padHolds(reading);
    EXPECT_TRUE(held.south && held.start && held.rightShoulder && held.right);
    EXPECT_FALSE(held.back || held.east || held.west || held.north || held.leftShoulder);
}

TEST(PadHolds, WhatAnyPadHoldsIsHeld) {
    PadState first;
    first.left = true;
    first.south = true;
    PadState second;
    second.right = true;
    second.north = true;
    const PadState both = heldOnAny(first, second);
    EXPECT_TRUE(both.left && both.right && both.south && both.north);
    EXPECT_FALSE(both.up || both.down || both.start || both.back);
}

TEST(PadHolds, NothingHeldIsNothing) {
    EXPECT_FALSE(holdsAnything(PadState{}));
    EXPECT_FALSE(holdsAnything(stick(stickDeadZone, -stickDeadZone)));
    PadState shoulder;
    shoulder.leftShoulder = true;
    EXPECT_TRUE(holdsAnything(shoulder));
    EXPECT_TRUE(holdsAnything(stick(0, 20000)));
}

// The button, the part of the pad that holds it, and the name the settings
// file writes for it.
struct ButtonCase {
    PadButton button;
    bool PadState::*part;
    const char* name;
};

constexpr ButtonCase buttonCases[] = {
    {PadButton::left, &PadState::left, "Left"},
    {PadButton::right, &PadState::right, "Right"},
    {PadButton::up, &PadState::up, "Up"},
    {PadButton::down, &PadState::down, "Down"},
    {PadButton::south, &PadState::south, "A"},
    {PadButton::east, &PadState::east, "B"},
    {PadButton::west, &PadState::west, "X"},
    {PadButton::north, &PadState::north, "Y"},
    {PadButton::leftShoulder, &PadState::leftShoulder, "LB"},
    {PadButton::rightShoulder, &PadState::rightShoulder, "RB"},
    {PadButton::start, &PadState::start, "Start"},
    {PadButton::back, &PadState::back, "Back"},
};

TEST(PadButtons, EachButtonIsHeldByItsOwnPartOfThePadAlone) {
    for (const ButtonCase& pressed : buttonCases) {
        PadState pad;
        pad.*pressed.part = true;
        for (const ButtonCase& other : buttonCases) {
            EXPECT_EQ(padButtonHeld(pad, other.button), other.button == pressed.button)
                << pressed.name << " pressed, " << other.name << " asked";
        }
    }
}

TEST(PadButtons, EachButtonIsWrittenAndReadByItsName) {
    for (const ButtonCase& button : buttonCases) {
        EXPECT_EQ(padButtonName(button.button), button.name);
        EXPECT_EQ(padByName(button.name), button.button);
    }
    EXPECT_EQ(padByName("cross"), PadButton::south);
    EXPECT_EQ(padByName("Select"), PadButton::back);
    EXPECT_EQ(padByName("C"), std::nullopt);
}

}  // namespace
