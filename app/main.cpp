// Kordavan: a night-time helicopter rescue game. The same entry on Linux
// (the SDL back end) and Windows (the Windows back end, a program of the GUI
// subsystem: --help and --version print to the console it was started from,
// or show a message box when it was started from Explorer, and so do the
// warnings, kept for one box at the end).

#include <iostream>

#include "app/extras.h"
#include "app/main_loop.h"
#include "platform/files.h"
#include "platform/warnings.h"
#include "shell/options.h"
#include "shell/preferences.h"
#include "shell/settings_file.h"
#ifdef _WIN32
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/windows_entry.h"
#include "platform/windows_backend.h"
#else
#include "platform/sdl_backend.h"
#endif

int main(int argc, char* argv[]) {
#ifdef _WIN32
    const bool console = platform::useParentConsole();
    // main's own arguments come in the ANSI code page, which may lack the
    // letters of a path the player gave.
    std::vector<std::string> words = platform::commandLineWords();
    std::vector<char*> wordStarts;
    for (std::string& word : words) wordStarts.push_back(word.data());
    wordStarts.push_back(nullptr);
    if (!words.empty()) {
        argc = static_cast<int>(words.size());
        argv = wordStarts.data();
    }
    const std::filesystem::path folder = platform::settingsFolder();
    if (!console)
        platform::collectWarnings(folder.empty() ? folder : folder / "kordavan.log",
                                  platform::runHeading(versionText(), std::time(nullptr)));
    const WarningsAtExit warningsAtExit;
#endif
    const CommandLine commandLine = parseCommandLine(argc, argv);
#ifdef _WIN32
    platform::useWindowsBackend();
    if (commandLine.action != CommandLineAction::play && !console) {
        platform::messageBox(boxText(commandLine).c_str(), "Kordavan");
        // The box was the answer: nothing remains to be printed.
        if (commandLine.action != CommandLineAction::refuse) return 0;
    }
#endif
    // The help and the version report a closed output instead of writing to
    // a stand-in.
    if (commandLine.action != CommandLineAction::play) return reportCommandLine(commandLine);
    platform::guardStandardStreams();
    const SettingsFile settings = readSettingsFile(settingsPath(), platform::warnings());
    if (!setUpExtras(commandLine.options, settings)) return 2;
#ifndef _WIN32
    platform::useSdlBackend();
#endif
    usePreferences(commandLine.options, settings);
    const int exitCode = runDesktopGame(platform::gameModule(), 1);
    finishExtras();
    platform::finish();
    return exitCode;
}
