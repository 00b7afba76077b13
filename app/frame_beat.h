#pragma once
// The loop's one clock rule: a steady beat of frames, one every `period`
// ticks of the timer. Every title pass, game step and end-picture pass waits
// for its slot on the beat, whatever drives the loop: a desktop loop that
// sleeps until the slot, or a browser that calls in once per display frame.

#include <cstdint>

struct FrameBeat {
    int64_t period = 1;  // timer ticks from one frame to the next
    int64_t slot = 0;    // the time of the last frame taken
    bool started = false;
};

// A beat of `period` ticks that starts with the first frame taken.
FrameBeat frameBeat(int64_t period);

// Whether a frame is due at `now`; when it is, beat.slot is its time. A frame
// up to a quarter of a period early, or up to two periods late, keeps its
// place on the beat (a display's own beat wobbles around ours, one at 75 Hz
// never falls on it, and a busy machine wakes a sleeper late); one later than
// that starts the beat afresh at `now`, so a stall is never followed by a
// burst of frames that catch up.
bool takeFrame(FrameBeat& beat, int64_t now);

// Ticks from `now` until the next frame's slot; 0 when it is due.
int64_t ticksUntilFrame(const FrameBeat& beat, int64_t now);
