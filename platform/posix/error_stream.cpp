// Standard error without waiting on a POSIX machine. Its descriptor is
// shared with the program that started the game, so it is not switched to
// non-blocking (that would change the shell's own standard error): a write
// goes only when poll says the stream is ready, and then no larger than a
// pipe takes at once.

#include "platform/error_stream.h"

#include <limits.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

std::ptrdiff_t writeErrorsNow(std::string_view text) {
    if (text.empty()) return 0;
    pollfd stream{STDERR_FILENO, POLLOUT, 0};
    int ready = 0;
    do {
        ready = ::poll(&stream, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0 || (stream.revents & POLLNVAL) != 0) return -1;
    // A pipe whose reader is gone says POLLERR: the write below says EPIPE.
    if ((stream.revents & (POLLOUT | POLLERR)) == 0) return 0;
    // A pipe that is ready has room for PIPE_BUF bytes at least.
    const size_t most = std::min(text.size(), size_t{PIPE_BUF});
    ssize_t written = 0;
    do {
        written = ::write(STDERR_FILENO, text.data(), most);
    } while (written < 0 && errno == EINTR);
    // A stream the player's shell made non-blocking says so instead of waiting.
    if (written < 0) return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    return written;
}

}  // namespace platform
