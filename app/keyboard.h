#pragma once
// The keyboard and the pads as the loop's source of controls: one snapshot
// of all keys per poll, what every pad holds, and the controls record they
// stand for together; and, for the settings screen, the keys, pads and
// pointer as they are.

#include <cstdint>
#include <vector>

#include "game/loop_events.h"
#include "platform/platform.h"

// One byte per scan code, bit 7 set while the key was down when it was taken.
struct KeySnapshot {
    uint8_t keys[256] = {};
    bool isDown(int code) const { return (keys[code & 0xFF] & 0x80) != 0; }
};

// What the player's devices held at one look, for the settings screen,
// which reads keys and buttons rather than controls.
struct DeviceInput {
    KeySnapshot keys;
    platform::PadState pad;
    // Presses of the mouse or a finger since the last look, oldest first.
    std::vector<platform::PicturePoint> presses;
};

class DeviceControls : public ControlSource {
  public:
    // A gamepad adds to the keys: both work at once. The press that
    // dismissed a won or lost picture with a button that also starts (a
    // pad's Start) starts no game on the title it brings: the title waits
    // until that button is let go and pressed again.
    Controls poll(LoopPhase phase, bool paused) override;
    const DeviceInput* readDevices() override;
    // What the last poll took from the keyboard.
    const KeySnapshot& keys() const { return snapshot; }

  private:
    KeySnapshot snapshot;
    DeviceInput input;
    LoopPhase lastPhase = LoopPhase::Title;
    bool startHeldOver = false;
};

// The player's own keyboard and pads.
DeviceControls& deviceControls();
