#pragma once
// The real machine on Windows: a Win32 window drawn with GDI, the keyboard
// through window messages, XInput pads and the system's wave output.

namespace platform {

// Makes the Windows back end the one behind every platform call.
void useWindowsBackend();

// A program of the GUI subsystem starts without standard streams. Where it
// was started from a console (cmd, PowerShell) its standard output and error
// go there, unless they were already redirected; true when standard output
// leads somewhere now.
bool useParentConsole();

}  // namespace platform
