#pragma once
// The keyboard and the pads as the loop's source of controls: one snapshot
// of all keys per poll, what every pad holds, and the controls record they
// stand for together.

#include <cstdint>

#include "game/loop_events.h"

// One byte per scan code, bit 7 set while the key was down when it was taken.
struct KeySnapshot {
    uint8_t keys[256] = {};
    bool isDown(int code) const { return (keys[code & 0xFF] & 0x80) != 0; }
};

// Reads the keyboard, getting it back once after another window had it.
void takeKeySnapshot(KeySnapshot& snapshot);

class DeviceControls : public ControlSource {
  public:
    // A gamepad adds to the keys: both work at once. The press that
    // dismissed a won or lost picture with a button that also starts (a
    // pad's Start) starts no game on the title it brings: the title waits
    // until that button is let go and pressed again.
    Controls poll(LoopPhase phase, bool paused) override;
    // What the last poll took from the keyboard.
    const KeySnapshot& keys() const { return snapshot; }

  private:
    KeySnapshot snapshot;
    LoopPhase lastPhase = LoopPhase::Title;
    bool startHeldOver = false;
};

// The player's own keyboard and pads.
DeviceControls& deviceControls();

// The same hands as the game's source, with the screenshot control saving
// the picture on screen as it goes down, whatever the loop does with the rest.
ControlSource& playerHands();
