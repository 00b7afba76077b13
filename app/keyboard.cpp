// The keyboard snapshot and the controls it stands for.

#include "app/keyboard.h"

#include "app/devices.h"
#include "shell/key_bindings.h"

namespace {

// Reads the keyboard, getting it back once after another window had it.
void takeKeySnapshot(KeySnapshot& snapshot) {
    const platform::InputResult result = platform::getDeviceState(keyboardDevice, snapshot.keys);
    // One try to get the keyboard back after another window had it. Any other
    // result leaves the snapshot as the device gave it.
    if (result == platform::InputResult::InputLost && platform::acquire(keyboardDevice)) {
        platform::getDeviceState(keyboardDevice, snapshot.keys);
    }
}

}  // namespace

Controls DeviceControls::poll(LoopPhase phase, bool) {
    takeKeySnapshot(snapshot);
    const platform::PadState pad = platform::readPad();
    Controls held = boundControls(snapshot.keys, pad);
    const bool fromPicture =
        lastPhase == LoopPhase::WinPicture || lastPhase == LoopPhase::FailurePicture;
    if (phase == LoopPhase::Title && fromPicture) {
        startHeldOver = startHeldOnlyAsConfirm(snapshot.keys, pad);
    }
    if (startHeldOver) startHeldOver = held.start;
    if (startHeldOver) held.start = false;
    lastPhase = phase;
    return held;
}

const DeviceInput* DeviceControls::readDevices() {
    takeKeySnapshot(input.keys);
    input.pad = platform::readPad();
    input.presses.clear();
    for (platform::PicturePoint point; platform::takePointerPress(point);) {
        input.presses.push_back(point);
    }
    return &input;
}

DeviceControls& deviceControls() {
    static DeviceControls devices;
    return devices;
}
