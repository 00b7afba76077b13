#pragma once
// The command line: what the player asked for before the window opens.
// Parsing never prints and never exits, so every answer can be checked in a
// test; main prints what reportCommandLine says and leaves with its code.

#include <string>

#include "shell/setting_values.h"

struct CommandLine {
    CommandLineAction action = CommandLineAction::play;
    Options options;
    std::string problem;  // for refuse: what is wrong, one line without the program's name
};

// GNU style: long options, "--scale 3" or "--scale=3", unambiguous prefixes
// ("--vers"), the last of --window and --fullscreen wins. --help and --version
// act where they stand, so anything after them is not looked at.
CommandLine parseCommandLine(int argc, char* argv[]);

// The texts of --help and --version, each ending with a newline. The
// options and the settings file's keys in the help are the settings table's.
std::string helpText();
std::string versionText();

// Prints help or version on standard output, or the problem and a hint on
// standard error, and gives the exit code: 0, 1 when the help or version
// could not be written, or 2 for a refused command line.
// Nothing to print for play.
int reportCommandLine(const CommandLine& commandLine);

struct SettingRow;
// An option as the help shows it ("--scale N"), and its help: the row's
// line with its range and default ("make the window N times 640x480, N from
// 1 to 16 (default: the largest window that fits)").
std::string optionWords(const SettingRow& row);
std::string optionHelp(const SettingRow& row);
