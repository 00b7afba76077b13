// The game's reading of a gamepad, one rule for every machine.

#include "platform/pad.h"

namespace platform {

PadState padHolds(const PadReading& pad) {
    PadState held = pad.buttons;
    held.left = held.left || pad.stickX < -stickDeadZone;
    held.right = held.right || pad.stickX > stickDeadZone;
    held.up = held.up || pad.stickY < -stickDeadZone;
    held.down = held.down || pad.stickY > stickDeadZone;
    return held;
}

PadState heldOnAny(const PadState& some, const PadState& others) {
    PadState held;
    for (bool PadState::*button : padButtons) held.*button = some.*button || others.*button;
    return held;
}

bool holdsAnything(const PadState& held) {
    for (bool PadState::*button : padButtons) {
        if (held.*button) return true;
    }
    return false;
}

}  // namespace platform
