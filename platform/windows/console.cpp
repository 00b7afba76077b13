// Standard streams for a program of the GUI subsystem, which Windows starts
// without any: the console the player started it from, when there is one;
// and its command line, in full Unicode.

#include <cstdio>

#include "platform/windows/win_machine.h"
// After windows.h, whose types it uses.
#include <shellapi.h>

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

std::vector<std::string> commandLineWords() {
    std::vector<std::string> words;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return words;
    for (int i = 0; i < count; ++i) {
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string word(bytes > 0 ? static_cast<size_t>(bytes) : 1, '\0');
        if (bytes > 0)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, word.data(), bytes, nullptr, nullptr);
        word.pop_back();  // the terminating zero
        words.push_back(std::move(word));
    }
    LocalFree(wide);
    return words;
}

}  // namespace platform
