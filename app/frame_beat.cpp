#include "app/frame_beat.h"

namespace {

// How early a frame may come and still take its slot.
int64_t leeway(const FrameBeat& beat) {
    return beat.period / 4;
}

// Only a clock that wrapped around runs backwards past the last slot.
bool wentBack(const FrameBeat& beat, int64_t now) {
    return now < beat.slot - leeway(beat);
}

}  // namespace

FrameBeat frameBeat(int64_t period) {
    FrameBeat beat;
    beat.period = period > 0 ? period : 1;
    return beat;
}

bool takeFrame(FrameBeat& beat, int64_t now) {
    const int64_t next = beat.slot + beat.period;
    const bool onTheBeat = beat.started && !wentBack(beat, now);
    if (onTheBeat && now < next - leeway(beat)) return false;
    beat.slot = onTheBeat && now - next <= 2 * beat.period ? next : now;
    beat.started = true;
    return true;
}

int64_t ticksUntilFrame(const FrameBeat& beat, int64_t now) {
    if (!beat.started || wentBack(beat, now)) return 0;
    const int64_t next = beat.slot + beat.period;
    return now < next ? next - now : 0;
}
