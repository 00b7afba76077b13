// The keyboard snapshot and the controls it stands for.

#include "app/keyboard.h"

#include "app/devices.h"
#include "shell/key_bindings.h"

// One byte per scan code, bit 7 set while the key was down at the last poll.
// Not in the header: the game reads the controls, never the keys.
uint8_t keyState[256] = {};

void pollKeyboard();
bool isKeyDown(int code);

namespace {

Controls controls;

PollHook pollHook = nullptr;

}  // namespace

void pollKeyboard() {
    const platform::InputResult result = platform::getDeviceState(keyboardDevice, keyState);
    // One try to get the keyboard back after another window had it. Any other
    // result leaves the snapshot as the device gave it.
    if (result == platform::InputResult::InputLost && platform::acquire(keyboardDevice)) {
        platform::getDeviceState(keyboardDevice, keyState);
    }
    controls = boundControls(keyState, platform::PadState{});
}

bool isKeyDown(int code) {
    return (keyState[code & 0xFF] & 0x80) != 0;
}

const Controls& currentControls() {
    return controls;
}

const Controls& pollControls() {
    pollKeyboard();
    // A gamepad adds to the keys: both work at once.
    controls = boundControls(keyState, platform::readPad());
    if (pollHook != nullptr) pollHook(controls);
    return controls;
}

void setPollHook(PollHook hook) {
    pollHook = hook;
}
