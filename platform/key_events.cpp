// The keys that belong to the machine rather than the game, one rule for
// every desktop.

#include "platform/key_events.h"

#include "platform/platform.h"

namespace platform {

void MachineKeys::keyChanged(uint8_t dik, bool down, bool repeat, bool alt) {
    if (!down) {
        if (dik == DIK_RETURN) returnHeldBack = false;
        return;
    }
    if (dik == DIK_RETURN && alt) {
        // The Return of Alt+Enter switches the display; on the end pictures
        // it would also dismiss the picture, so the game does not see it
        // until it has been let go.
        returnHeldBack = true;
        if (!repeat) switchAsked = true;
    } else if (dik == DIK_F11 && !repeat) {
        switchAsked = true;
    } else if (dik == DIK_PAUSE) {
        // Many keyboards send Pause and its release at the same instant, too
        // quick for any snapshot; the next snapshot sees it once.
        pausePressed = true;
    }
}

void MachineKeys::focusLost() {
    returnHeldBack = false;
}

void MachineKeys::reset() {
    switchAsked = false;
    returnHeldBack = false;
    pausePressed = false;
}

bool MachineKeys::takeSwitch() {
    return switchAsked.exchange(false);
}

void MachineKeys::adjustSnapshot(uint8_t (&state)[256]) {
    if (returnHeldBack) state[DIK_RETURN] = 0;
    if (pausePressed.exchange(false)) state[DIK_PAUSE] = 0x80;
}

}  // namespace platform
