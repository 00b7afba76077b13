#pragma once
// What the Windows entry shows a player who has no console.

#include <string>

#include "shell/options.h"

// The words reportCommandLine would print, for a box: the help shortened to
// the options, which fit a small screen, pointing to README.txt for the rest.
std::string boxText(const CommandLine& commandLine);

// Shows the warnings kept for a player without a console, with what to do
// about them, however main ends.
struct WarningsAtExit {
    WarningsAtExit() = default;
    WarningsAtExit(const WarningsAtExit&) = delete;
    WarningsAtExit& operator=(const WarningsAtExit&) = delete;
    ~WarningsAtExit();
};
