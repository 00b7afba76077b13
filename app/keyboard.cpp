// The keyboard snapshot and the controls of the helicopter.

#include "app/keyboard.h"

#include "app/devices.h"
#include "game/game_state.h"

uint8_t keyState[256] = {};

void pollKeyboard() {
    const platform::InputResult result = platform::getDeviceState(keyboardDevice, keyState);
    // One try to get the keyboard back after another window had it. Any other
    // result leaves the snapshot as the device gave it.
    if (result == platform::InputResult::InputLost && platform::acquire(keyboardDevice)) {
        platform::getDeviceState(keyboardDevice, keyState);
    }
}

bool isKeyDown(int code) {
    return (keyState[code & 0xFF] & 0x80) != 0;
}

void applyGameControls() {
    // Each limit is tested before the change, so a speed can pass it by less
    // than one push. Left pushes twice as hard as Right: the helicopter leaves
    // the base faster than it comes home.
    if (isKeyDown(platform::DIK_LEFT) && game.landingActive != 1 && game.velX < 4.0) {
        game.velX += 0.4;
    }
    if (isKeyDown(platform::DIK_RIGHT) && game.landingActive != 1 && game.velX > -4.0) {
        game.velX -= 0.2;
    }
    if (isKeyDown(platform::DIK_UP) && game.landingActive != 1 && game.velY > -4.0) {
        game.velY -= 0.2;
    }
    // Down still works while landing: the player may hurry the descent.
    if (isKeyDown(platform::DIK_DOWN) && game.velY < 4.0) game.velY += 0.2;

    if (isKeyDown(platform::DIK_L) && game.landingActive != 1 && game.heliY > 270.0) {
        const bool atFarEnd = game.scrollPos >= 1900.0 && game.carryingMan == 0;
        const bool atBase = game.scrollPos <= 2.0 && game.carryingMan > 0;
        if (atFarEnd || atBase) game.landingActive = 1;
    }
    if (isKeyDown(platform::DIK_ESCAPE)) platform::destroyWindow(appWindow);
}
