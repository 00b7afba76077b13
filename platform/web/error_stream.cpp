// Standard error in a page, and in the tools under node: the browser's
// console, which takes every line at once and never keeps the game waiting.
// A poll of its descriptor would only ever say "not ready", and the page
// shows the player these lines.

#include "platform/error_stream.h"

#include <cstdio>

namespace platform {

std::ptrdiff_t writeErrorsNow(std::string_view text) {
    if (text.empty()) return 0;
    const size_t written = std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
    if (written == 0) return -1;
    return static_cast<std::ptrdiff_t>(written);
}

}  // namespace platform
