#pragma once
// The keys every desktop treats alike before the game sees its snapshot:
// Alt+Enter and F11 switch between window and full screen, and Pause is
// caught even when it comes and goes between two snapshots. A back end tells
// this of every key as the system delivers it and asks it at each read of
// the keys; the system's own calls stay in the back end.

#include <atomic>
#include <cstdint>

namespace platform {

class MachineKeys {
  public:
    // A key went down or up, by the game's scan code. `repeat` is the
    // system's repeat of a key already held; `alt` says Alt is held with it.
    // Safe to call from the thread that takes the events from the system.
    void keyChanged(uint8_t dik, bool down, bool repeat, bool alt);
    // The keyboard went to another window: nothing stays held meanwhile.
    void focusLost();
    // Forgets everything, as at the start of the video.
    void reset();

    // True once for each switch between window and full screen asked for.
    bool takeSwitch();
    // Makes a snapshot of the keys what the game should see: no Return
    // while that of Alt+Enter is held, and Pause held once after it was
    // pressed, however briefly.
    void adjustSnapshot(uint8_t (&state)[256]);

  private:
    std::atomic<bool> switchAsked{false};
    std::atomic<bool> returnHeldBack{false};  // the Return of Alt+Enter, until it is let go
    std::atomic<bool> pausePressed{false};    // since the last snapshot
};

}  // namespace platform
