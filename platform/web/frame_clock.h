#pragma once
// The browser calls the page once per display frame, at whatever rate the
// display runs. The game wants 60 frames a second, and its step timer wants
// a clock that moves by one step's time from one frame to the next. The
// frame clock gives it both: it picks the display frames that fall on a
// steady 60 Hz beat and stands, for the whole of such a frame, at that
// frame's place on the beat, in nanoseconds of performance.now().

#include <cstdint>

namespace platform::web {

// Nanoseconds, as the desktop's performance counter counts them.
constexpr int64_t frameClockFrequency = 1'000'000'000;
// One beat, rounded up: the step timer waits for more than frequency / 60
// ticks, which a beat of exactly that many would never pass. The 20 ns a
// second this runs ahead are taken back whenever the beat starts afresh.
constexpr int64_t frameClockBeat = (frameClockFrequency + 59) / 60;
// A display frame this much before its beat still counts: the browser's
// frames come a little early or late around the display's own beat.
constexpr int64_t frameClockEarly = frameClockBeat / 4;

struct FrameClock {
    int64_t beat = 0;  // where the last game frame stood
    bool started = false;
};

// Whether the display frame at `now` (nanoseconds) runs a game frame. When it
// does, clock.beat is that frame's time. A frame more than two beats late (a
// hidden page, a stall) starts the beat afresh at `now`, so a pause is never
// followed by a burst of catching-up frames.
constexpr bool takeDisplayFrame(FrameClock& clock, int64_t now) {
    if (!clock.started || now - clock.beat > 2 * frameClockBeat) {
        clock.started = true;
        clock.beat = now;
        return true;
    }
    if (now < clock.beat + frameClockBeat - frameClockEarly) return false;
    clock.beat += frameClockBeat;
    return true;
}

}  // namespace platform::web
