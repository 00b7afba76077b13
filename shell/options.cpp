// The command line in the GNU manner, read with getopt_long. Every option is
// long only: the game has few of them and none is typed often enough to earn
// a letter.

#include "shell/options.h"

#include <getopt.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "shell/version.h"

namespace {

// getopt_long hands these back for the long options; above any character,
// so they cannot be mistaken for a short option.
enum OptionCode : int {
    fullscreenCode = 256,
    windowCode,
    scaleCode,
    integerScaleCode,
    noSoundCode,
    volumeCode,
    pauseOnFocusLossCode,
    recordCode,
    replayCode,
    helpCode,
    versionCode,
};

const option longOptions[] = {
    {"fullscreen", no_argument, nullptr, fullscreenCode},
    {"window", no_argument, nullptr, windowCode},
    {"scale", required_argument, nullptr, scaleCode},
    {"integer-scale", no_argument, nullptr, integerScaleCode},
    {"no-sound", no_argument, nullptr, noSoundCode},
    {"volume", required_argument, nullptr, volumeCode},
    {"pause-on-focus-loss", no_argument, nullptr, pauseOnFocusLossCode},
    {"record", required_argument, nullptr, recordCode},
    {"replay", required_argument, nullptr, replayCode},
    {"help", no_argument, nullptr, helpCode},
    {"version", no_argument, nullptr, versionCode},
    {nullptr, 0, nullptr, 0},
};

const char* nameOf(int code) {
    for (const option* o = longOptions; o->name; ++o)
        if (o->val == code) return o->name;
    return "?";
}

bool takesValue(int code) {
    for (const option* o = longOptions; o->name; ++o)
        if (o->val == code) return o->has_arg == required_argument;
    return false;
}

// A whole number and nothing else: no sign, no spaces, no fraction.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

std::optional<int> numberWithin(std::string_view text, int low, int high) {
    std::optional<int> value = wholeNumber(text);
    if (value && (*value < low || *value > high)) return std::nullopt;
    return value;
}

CommandLine refused(std::string problem) {
    CommandLine refusal;
    refusal.action = CommandLineAction::refuse;
    refusal.problem = std::move(problem);
    return refusal;
}

// getopt_long says only "not one of mine" for both an unknown name and a
// prefix that fits several; the player deserves to know which.
std::string unknownLongOption(std::string_view word) {
    if (!word.starts_with("--")) return "unknown option '" + std::string(word) + "'";
    std::string_view name = word.substr(2);
    name = name.substr(0, name.find('='));
    std::string candidates;
    int matches = 0;
    for (const option* o = longOptions; o->name; ++o) {
        if (name.empty() || std::string_view(o->name).substr(0, name.size()) != name) continue;
        candidates += (matches++ ? " or --" : "--") + std::string(o->name);
    }
    std::string shown = "--" + std::string(name);
    if (matches > 1) return "option '" + shown + "' is ambiguous: " + candidates;
    return "unknown option '" + shown + "'";
}

std::string rangeProblem(int code, const char* value, int low, int high) {
    return "--" + std::string(nameOf(code)) + " takes a whole number from " + std::to_string(low) +
           " to " + std::to_string(high) + ", not '" + value + "'";
}

}  // namespace

CommandLine parseCommandLine(int argc, char* argv[]) {
    CommandLine result;
    // 0 rather than 1 makes glibc forget any earlier scan, so the parser can
    // run more than once in a process; opterr off because the messages are ours.
    optind = 0;
    opterr = 0;
    int code = 0;
    while ((code = getopt_long(argc, argv, ":", longOptions, nullptr)) != -1) {
        switch (code) {
            case fullscreenCode:
                result.options.display = DisplayMode::fullscreen;
                break;
            case windowCode:
                result.options.display = DisplayMode::window;
                break;
            case scaleCode:
                result.options.scale = numberWithin(optarg, minScale, maxScale);
                if (!result.options.scale)
                    return refused(rangeProblem(code, optarg, minScale, maxScale));
                break;
            case volumeCode:
                result.options.volume = numberWithin(optarg, minVolume, maxVolume);
                if (!result.options.volume)
                    return refused(rangeProblem(code, optarg, minVolume, maxVolume));
                break;
            case integerScaleCode:
                result.options.integerScale = true;
                break;
            case noSoundCode:
                result.options.noSound = true;
                break;
            case pauseOnFocusLossCode:
                result.options.pauseOnFocusLoss = true;
                break;
            case recordCode:
            case replayCode:
                if (*optarg == '\0')
                    return refused("--" + std::string(nameOf(code)) + " needs a file");
                (code == recordCode ? result.options.recordFile : result.options.replayFile) =
                    optarg;
                break;
            case helpCode:
                result.action = CommandLineAction::showHelp;
                return result;
            case versionCode:
                result.action = CommandLineAction::showVersion;
                return result;
            case ':':
                // The BSD getopt_long of other C libraries (Windows') also
                // answers ':' for a value given to an option that takes none.
                if (!takesValue(optopt))
                    return refused("option '--" + std::string(nameOf(optopt)) + "' takes no value");
                return refused("option '--" + std::string(nameOf(optopt)) + "' needs a value");
            default:
                if (optopt >= fullscreenCode)
                    return refused("option '--" + std::string(nameOf(optopt)) + "' takes no value");
                if (optopt != 0)
                    return refused("unknown option '-" + std::string(1, static_cast<char>(optopt)) +
                                   "'");
                return refused(unknownLongOption(argv[optind - 1]));
        }
    }
    if (optind < argc) return refused("unexpected argument '" + std::string(argv[optind]) + "'");
    if (!result.options.recordFile.empty() && !result.options.replayFile.empty())
        return refused("--record and --replay cannot be used together");
    return result;
}

// Where the settings live and what the environment changes differ between
// the systems; everything else the help says is the same.
#ifdef _WIN32
constexpr const char* settingsPlace = "%APPDATA%\\Kordavan\\kordavan.conf";
constexpr const char* environmentText = "";
#else
constexpr const char* settingsPlace =
    "$XDG_CONFIG_HOME/kordavan/kordavan.conf, by default\n~/.config/kordavan/kordavan.conf";
constexpr const char* environmentText =
    "Environment: SDL_VIDEODRIVER and SDL_AUDIODRIVER choose SDL's video and audio\n"
    "drivers; XDG_CONFIG_HOME moves the settings file.\n"
    "\n";
#endif

std::string helpText() {
    return std::string(
               "Usage: kordavan [OPTION]...\n"
               "Fly a rescue helicopter through the night and bring seven men home.\n"
               "\n"
               "Options:\n"
               "      --fullscreen           play full screen (the default)\n"
               "      --window               play in a window\n"
               "      --scale N              make the window N times 640x480, N from 1 to 16\n"
               "                               (default: the largest that fits the desktop)\n"
               "      --integer-scale        scale by whole multiples only, keeping pixels sharp\n"
               "      --no-sound             play on a silent sound device\n"
               "      --volume N             sound volume from 0 to 100 (default 100)\n"
               "      --pause-on-focus-loss  pause when the window loses the focus\n"
               "      --record FILE          write every game played as a replay file\n"
               "      --replay FILE          play a replay file back, then show the title\n"
               "      --help                 show this help and exit\n"
               "      --version              show the version and exit\n"
               "\n"
               "Keys:\n"
               "  Space                 start, on the title\n"
               "  Arrow keys            fly (Left pulls harder than Right)\n"
               "  L                     land, low over the far landing field or over the base\n"
               "  P, Pause              pause and resume, during play\n"
               "  Return                back to the title after a won or lost game\n"
               "  F11, Alt+Enter        switch between window and full screen\n"
               "  F12                   save the picture on screen in the pictures folder\n"
               "  Escape                quit\n"
               "\n"
               "Gamepad: the d-pad and the left stick fly, the south button (A, Cross) lands,\n"
               "Start starts on the title and goes back to it from the won and lost pictures,\n"
               "Back (Select) quits, Y (Triangle) saves the picture on screen.\n"
               "\n"
               "Settings: ") +
           settingsPlace +
           ", one 'key = value' a line:\n"
           "  display = window|fullscreen, scale = N, integer-scale = yes|no, volume = N,\n"
           "  pause-on-focus-loss = yes|no; key-left = Left, A, pad-land = A and the like\n"
           "  map the keys and pad buttons. A key's name is its place on a US keyboard,\n"
           "  whatever the layout prints on it (A is the French keyboard's Q).\n"
           "The options above override it.\n"
           "\n" +
           environmentText +
           "Exit status: 0 after a normal end, 1 when the game cannot start,\n"
           "2 for a bad command line.\n";
}

std::string versionText() {
    return std::string("kordavan ") + kordavanVersion + "\n";
}

namespace {

// As GNU programs do: output that could not be written (a full disk, a
// closed stream) is a failure, not a silent success.
int printed(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return 0;
    std::fprintf(stderr, "kordavan: write error: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace

int reportCommandLine(const CommandLine& commandLine) {
    switch (commandLine.action) {
        case CommandLineAction::showHelp:
            return printed(helpText());
        case CommandLineAction::showVersion:
            return printed(versionText());
        case CommandLineAction::refuse:
            std::fprintf(stderr, "kordavan: %s\nTry 'kordavan --help'.\n",
                         commandLine.problem.c_str());
            return 2;
        case CommandLineAction::play:
            break;
    }
    return 0;
}
