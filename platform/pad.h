#pragma once
// A gamepad as the game reads it, the same on every machine: the d-pad or
// the left stick past its dead zone steers, and every pad plugged in plays
// at once. A back end reads each pad as its system reports it and hands it
// over as a PadReading.

#include <iterator>

#include "platform/platform.h"

namespace platform {

// A stick at rest rarely reads exactly zero, and a thumb resting on it
// should not fly the helicopter: about a third of the travel counts as
// nothing. A stick reads from -32768 to 32767.
constexpr int stickDeadZone = 10000;

// Every button of a pad, in the order the back ends list their own codes
// for them: the d-pad's four, then the face buttons, Start and Back, then
// the shoulders.
inline constexpr bool PadState::*padButtons[] = {
    &PadState::left,  &PadState::right, &PadState::up,           &PadState::down,
    &PadState::south, &PadState::east,  &PadState::west,         &PadState::north,
    &PadState::start, &PadState::back,  &PadState::leftShoulder, &PadState::rightShoulder,
};
constexpr int padButtonCount = static_cast<int>(std::size(padButtons));

// One pad as its system reports it.
struct PadReading {
    int stickX = 0;    // the left stick, negative to the left
    int stickY = 0;    // negative upwards
    PadState buttons;  // left, right, up and down are the d-pad's
};

// What one pad holds: the d-pad or the stick pushed beyond the dead zone
// for each direction, and every button as it is.
PadState padHolds(const PadReading& pad);

// What several pads hold together: held on any of them is held.
PadState heldOnAny(const PadState& some, const PadState& others);

// Whether anything at all is held.
bool holdsAnything(const PadState& held);

}  // namespace platform
