// Standard error without waiting on Windows. A write to a pipe waits while
// the pipe is full; in the pipe's non-blocking mode it takes what fits and
// returns. The mode belongs to the pipe's end, which the program that
// started the game shares; such a program waits for the game rather than
// writing to its end meanwhile.

#include "platform/error_stream.h"

#include <io.h>

#include <algorithm>
#include <cstdio>

#include "platform/windows/win_machine.h"

namespace platform {

namespace {

// The C library's own handle: the console the player started the game from
// is opened on it, not on the process's standard handle.
HANDLE errorHandle() {
    const int descriptor = _fileno(stderr);
    if (descriptor < 0) return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
}

}  // namespace

std::ptrdiff_t writeErrorsNow(std::string_view text) {
    if (text.empty()) return 0;
    const HANDLE handle = errorHandle();
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return -1;
    // Called with the warnings' lock held: once for each handle is enough.
    static HANDLE madeNonBlocking = nullptr;
    if (handle != madeNonBlocking && GetFileType(handle) == FILE_TYPE_PIPE) {
        DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
        SetNamedPipeHandleState(handle, &mode, nullptr, nullptr);
        madeNonBlocking = handle;
    }
    // A pipe's buffer is a few kilobytes; what does not fit goes next time.
    const auto most = static_cast<DWORD>(std::min<size_t>(text.size(), 4096));
    DWORD written = 0;
    // A pipe whose reader is gone fails, and so does a full disk.
    if (!WriteFile(handle, text.data(), most, &written, nullptr)) return -1;
    return static_cast<std::ptrdiff_t>(written);
}

}  // namespace platform
