#pragma once
// What the settings hold: the values the file chose (Settings) and what the
// command line said (Options). They sit below the settings table, whose
// rows name their fields, and below everything that reads or uses them.

#include <optional>
#include <string>

enum class DisplayMode { fullscreen, window };

constexpr int minScale = 1;
constexpr int maxScale = 16;
constexpr int minVolume = 0;
constexpr int maxVolume = 100;

// This run's settings; each field is a row of the settings table, and starts
// at that row's default. The file fills the rows it takes, the command line
// overrides them.
struct Settings {
    bool fullscreen = true;
    int scale = 0;
    bool integerScale = false;
    int volume = 100;
    bool pauseOnFocusLoss = false;
    bool recordGames = false;
    bool noSound = false;  // the command line's alone: the file never says it

    bool operator==(const Settings&) const = default;
};

// Only what the player wrote. An empty choice falls back on the settings file
// and then on the game's own default, so the command line wins over the file
// only where the player said something. A field is needed only where "not
// said" must differ from the default (a number, the display) or where the
// option is no setting (the files); a flag the command line turns on is a
// plain bool.
struct Options {
    std::optional<DisplayMode> display;
    std::optional<int> scale;   // 1..16 times 640 x 480
    std::optional<int> volume;  // 0..100 percent of the mix
    bool integerScale = false;
    bool noSound = false;
    bool pauseOnFocusLoss = false;
    std::string recordFile;  // write a replay of the games played
    std::string replayFile;  // play a replay back before the title
};

// What the program does after reading its command line.
enum class CommandLineAction { play, showHelp, showVersion, refuse };
