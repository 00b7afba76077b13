// The keyboard snapshot and the controls it stands for.

#include "app/keyboard.h"

#include "app/devices.h"

// One byte per scan code, bit 7 set while the key was down at the last poll.
// Not in the header: the game reads the controls, never the keys.
uint8_t keyState[256] = {};

void pollKeyboard();
bool isKeyDown(int code);

namespace {

Controls controls;

Controls controlsFromKeys() {
    Controls held;
    held.left = isKeyDown(platform::DIK_LEFT);
    held.right = isKeyDown(platform::DIK_RIGHT);
    held.up = isKeyDown(platform::DIK_UP);
    held.down = isKeyDown(platform::DIK_DOWN);
    held.land = isKeyDown(platform::DIK_L);
    held.start = isKeyDown(platform::DIK_SPACE);
    held.confirm = isKeyDown(platform::DIK_RETURN);
    held.quit = isKeyDown(platform::DIK_ESCAPE);
    held.pause = isKeyDown(platform::DIK_P) || isKeyDown(platform::DIK_PAUSE);
    return held;
}

// A gamepad adds to the keys: both work at once. Start stands for Space on
// the title and for Return on the end pictures, Back for Escape.
void addPad(Controls& held, const platform::PadState& pad) {
    held.left = held.left || pad.left;
    held.right = held.right || pad.right;
    held.up = held.up || pad.up;
    held.down = held.down || pad.down;
    held.land = held.land || pad.south;
    held.start = held.start || pad.start;
    held.confirm = held.confirm || pad.start;
    held.quit = held.quit || pad.back;
}

}  // namespace

void pollKeyboard() {
    const platform::InputResult result = platform::getDeviceState(keyboardDevice, keyState);
    // One try to get the keyboard back after another window had it. Any other
    // result leaves the snapshot as the device gave it.
    if (result == platform::InputResult::InputLost && platform::acquire(keyboardDevice)) {
        platform::getDeviceState(keyboardDevice, keyState);
    }
    controls = controlsFromKeys();
}

bool isKeyDown(int code) {
    return (keyState[code & 0xFF] & 0x80) != 0;
}

const Controls& currentControls() {
    return controls;
}

const Controls& pollControls() {
    pollKeyboard();
    addPad(controls, platform::readPad());
    return controls;
}
