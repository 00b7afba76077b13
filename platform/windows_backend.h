#pragma once
// The real machine on Windows: a Win32 window drawn with GDI, the keyboard
// through window messages, XInput pads and the system's wave output.

#include <string>
#include <vector>

namespace platform {

// Makes the Windows back end the one behind every platform call.
void useWindowsBackend();

// A program of the GUI subsystem starts without standard streams. Where it
// was started from a console (cmd, PowerShell) its standard output and error
// go there, unless they were already redirected; true when standard output
// leads somewhere now.
bool useParentConsole();

// The words of the command line, each in UTF-8, read as Windows keeps it
// (UTF-16): a path in any script reaches the game whole, where the narrow
// arguments would have turned whatever the ANSI code page lacks into '?'.
std::vector<std::string> commandLineWords();

}  // namespace platform
