// The keyboard snapshot and the controls it stands for.

#include "app/keyboard.h"

#include "app/devices.h"

uint8_t keyState[256] = {};

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
    return held;
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
    return controls;
}
