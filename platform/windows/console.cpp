// Standard streams for a program of the GUI subsystem, which Windows starts
// without any: the console the player started it from, when there is one.

#include <cstdio>

#include "platform/windows/win_machine.h"
#include "platform/windows_backend.h"

namespace platform {

namespace {

bool leadsSomewhere(DWORD stream) {
    HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

bool useParentConsole() {
    // Redirected to a file or a pipe: the streams are there already.
    const bool output = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool errors = leadsSomewhere(STD_ERROR_HANDLE);
    if (output && errors) return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return output;
    // The C library opened its streams on nothing at start-up; they are
    // opened again on the console, each only where it was not redirected.
    if (!output) std::freopen("CONOUT$", "w", stdout);
    if (!errors) std::freopen("CONOUT$", "w", stderr);
    return true;
}

}  // namespace platform
