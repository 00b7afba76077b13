// The wait between two frames, the same on every desktop: the loop asks for
// the time left until its next beat, and any message that comes meanwhile
// ends the wait at once, so a close or a lost focus is never a frame late.
// Each back end only supplies the system's own sleep.

#include <algorithm>

#include "platform/backend.h"

namespace platform {

void Backend::waitForEvents(std::deque<Message>& queue, int64_t timeoutMicroseconds) {
    const size_t before = queue.size();
    pumpEvents(queue);
    int64_t frequency = 0;
    if (queue.size() > before || timeoutMicroseconds <= 0 || !performanceFrequency(frequency)) {
        return;
    }
    // Long enough for any wait between two frames, short enough not to overflow.
    const int64_t microseconds = std::min<int64_t>(timeoutMicroseconds, 10'000'000);
    const int64_t deadline = performanceCounter() + microseconds * frequency / 1'000'000;
    for (;;) {
        const int64_t left = deadline - performanceCounter();
        if (left <= 0) return;
        if (!sleepForEvents(queue, left * 1'000'000 / frequency)) return;
        pumpEvents(queue);
        if (queue.size() > before) return;
    }
}

}  // namespace platform
