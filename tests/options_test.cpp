// The command line: what each option records, which words are refused and
// with what message, and what --help, --version and a refusal print.

#include "shell/options.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/sdl_test_support.h"

namespace {

// Runs the parser on "kordavan" followed by the words, as main would see them.
CommandLine parse(std::vector<std::string> words) {
    words.insert(words.begin(), "kordavan");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    return parseCommandLine(static_cast<int>(words.size()), argv.data());
}

std::string refusal(std::vector<std::string> words) {
    const CommandLine result = parse(std::move(words));
    EXPECT_EQ(result.action, CommandLineAction::refuse);
    return result.problem;
}

TEST(CommandLine, NothingGivenPlaysWithEveryChoiceLeftOpen) {
    const CommandLine result = parse({});
    EXPECT_EQ(result.action, CommandLineAction::play);
    EXPECT_FALSE(result.options.display.has_value());
    EXPECT_FALSE(result.options.scale.has_value());
    EXPECT_FALSE(result.options.volume.has_value());
    EXPECT_FALSE(result.options.integerScale);
    EXPECT_FALSE(result.options.noSound);
    EXPECT_FALSE(result.options.pauseOnFocusLoss);
}

TEST(CommandLine, EveryOptionIsRecorded) {
    const CommandLine result = parse({"--window", "--scale", "3", "--integer-scale", "--no-sound",
                                      "--volume", "40", "--pause-on-focus-loss"});
    ASSERT_EQ(result.action, CommandLineAction::play);
    EXPECT_EQ(result.options.display, DisplayMode::window);
    EXPECT_EQ(result.options.scale, 3);
    EXPECT_EQ(result.options.volume, 40);
    EXPECT_TRUE(result.options.integerScale);
    EXPECT_TRUE(result.options.noSound);
    EXPECT_TRUE(result.options.pauseOnFocusLoss);
}

TEST(CommandLine, FullscreenIsRecordedAsAChoice) {
    EXPECT_EQ(parse({"--fullscreen"}).options.display, DisplayMode::fullscreen);
}

TEST(CommandLine, TheLastDisplayChoiceWins) {
    EXPECT_EQ(parse({"--window", "--fullscreen"}).options.display, DisplayMode::fullscreen);
    EXPECT_EQ(parse({"--fullscreen", "--window"}).options.display, DisplayMode::window);
}

TEST(CommandLine, AValueMayFollowAnEqualsSign) {
    const CommandLine result = parse({"--scale=2", "--volume=0"});
    ASSERT_EQ(result.action, CommandLineAction::play);
    EXPECT_EQ(result.options.scale, 2);
    EXPECT_EQ(result.options.volume, 0);
}

TEST(CommandLine, AnUnambiguousPrefixStandsForTheOption) {
    const CommandLine result = parse({"--win", "--integer", "--vol", "7"});
    ASSERT_EQ(result.action, CommandLineAction::play);
    EXPECT_EQ(result.options.display, DisplayMode::window);
    EXPECT_TRUE(result.options.integerScale);
    EXPECT_EQ(result.options.volume, 7);
}

TEST(CommandLine, ScaleAcceptsOneToSixteen) {
    EXPECT_EQ(parse({"--scale", "1"}).options.scale, 1);
    EXPECT_EQ(parse({"--scale", "16"}).options.scale, 16);
    EXPECT_EQ(refusal({"--scale", "0"}), "--scale takes a whole number from 1 to 16, not '0'");
    EXPECT_EQ(refusal({"--scale", "17"}), "--scale takes a whole number from 1 to 16, not '17'");
}

TEST(CommandLine, VolumeAcceptsZeroToAHundred) {
    EXPECT_EQ(parse({"--volume", "100"}).options.volume, 100);
    EXPECT_EQ(refusal({"--volume", "101"}),
              "--volume takes a whole number from 0 to 100, not '101'");
    EXPECT_EQ(refusal({"--volume=-1"}), "--volume takes a whole number from 0 to 100, not '-1'");
}

TEST(CommandLine, OnlyPlainWholeNumbersAreValues) {
    for (const char* bad : {"", "two", "2.5", "3x", " 3", "+3", "0x3", "99999999999999999999"}) {
        const CommandLine result = parse({"--scale", bad});
        EXPECT_EQ(result.action, CommandLineAction::refuse) << "'" << bad << "'";
        EXPECT_NE(result.problem.find(std::string("not '") + bad + "'"), std::string::npos)
            << result.problem;
    }
    // A digit first: "-0" is refused, where the settings file reads it as 0.
    EXPECT_EQ(refusal({"--volume", "-0"}), "--volume takes a whole number from 0 to 100, not '-0'");
}

TEST(CommandLine, AMissingValueIsNamed) {
    EXPECT_EQ(refusal({"--scale"}), "option '--scale' needs a value");
    EXPECT_EQ(refusal({"--window", "--volume"}), "option '--volume' needs a value");
}

TEST(CommandLine, AValueForAnOptionThatTakesNoneIsRefused) {
    EXPECT_EQ(refusal({"--window=yes"}), "option '--window' takes no value");
    EXPECT_EQ(refusal({"--no-sound=1"}), "option '--no-sound' takes no value");
}

TEST(CommandLine, UnknownOptionsAreNamedWithoutTheirValue) {
    EXPECT_EQ(refusal({"--windowed"}), "unknown option '--windowed'");
    EXPECT_EQ(refusal({"--speed=3"}), "unknown option '--speed'");
    EXPECT_EQ(refusal({"-w"}), "unknown option '-w'");
    EXPECT_EQ(refusal({"-h"}), "unknown option '-h'");
}

TEST(CommandLine, AnAmbiguousPrefixListsWhatItCouldMean) {
    EXPECT_EQ(refusal({"--v"}), "option '--v' is ambiguous: --volume or --version");
}

TEST(CommandLine, WordsThatAreNoOptionsAreRefused) {
    EXPECT_EQ(refusal({"level3"}), "unexpected argument 'level3'");
    EXPECT_EQ(refusal({"--window", "--", "--scale"}), "unexpected argument '--scale'");
}

TEST(CommandLine, HelpAndVersionActWhereTheyStand) {
    EXPECT_EQ(parse({"--help"}).action, CommandLineAction::showHelp);
    EXPECT_EQ(parse({"--version"}).action, CommandLineAction::showVersion);
    EXPECT_EQ(parse({"--window", "--help", "--bogus"}).action, CommandLineAction::showHelp);
    EXPECT_EQ(parse({"--version", "--help"}).action, CommandLineAction::showVersion);
    EXPECT_EQ(parse({"--bogus", "--help"}).action, CommandLineAction::refuse);
}

TEST(CommandLine, ParsingTwiceGivesTheSameAnswer) {
    for (int round = 0; round < 2; ++round) {
        const CommandLine result = parse({"--scale", "5"});
        EXPECT_EQ(result.action, CommandLineAction::play);
        EXPECT_EQ(result.options.scale, 5);
    }
}

// "kordavan 1.0": digits in dotted groups, as CMake's project() takes them.
bool isDottedNumber(const std::string& text) {
    bool digitBefore = false;
    int dots = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else if (c == '.' && digitBefore) {
            digitBefore = false;
            ++dots;
        } else {
            return false;
        }
    }
    return digitBefore && dots > 0;
}

TEST(CommandLineTexts, VersionIsTheProgramNameAndADottedNumber) {
    const std::string text = versionText();
    ASSERT_TRUE(text.starts_with("kordavan ") && text.ends_with("\n")) << text;
    EXPECT_TRUE(isDottedNumber(text.substr(9, text.size() - 10))) << text;
    EXPECT_FALSE(isDottedNumber("1.")) << "the check itself";
    EXPECT_FALSE(isDottedNumber("1")) << "the check itself";
}

TEST(CommandLineTexts, HelpNamesEveryOptionItAccepts) {
    const std::string help = helpText();
    for (const char* option :
         {"--fullscreen", "--window", "--scale N", "--integer-scale", "--no-sound", "--volume N",
          "--pause-on-focus-loss", "--help", "--version"}) {
        EXPECT_NE(help.find(std::string("      ") + option + " "), std::string::npos) << option;
        // Whatever help shows, the parser takes.
        std::string word = option;
        std::vector<std::string> words = {word.substr(0, word.find(' '))};
        if (word.ends_with(" N")) words.push_back("1");
        EXPECT_NE(parse(words).action, CommandLineAction::refuse) << option;
    }
}

TEST(CommandLineTexts, HelpNamesEveryKeyAndTheSettingsFile) {
    const std::string help = helpText();
    for (const char* key : {"Space", "Arrow keys", "L ", "P, Pause", "Return", "F11, Alt+Enter",
                            "Escape", "d-pad", "Start", "Back (Select)", "Exit status"})
        EXPECT_NE(help.find(key), std::string::npos) << key;
#ifdef _WIN32
    EXPECT_NE(help.find("%APPDATA%\\Kordavan\\kordavan.conf"), std::string::npos);
    EXPECT_EQ(help.find("SDL_"), std::string::npos);
#else
    for (const char* key :
         {"$XDG_CONFIG_HOME/kordavan/kordavan.conf", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"})
        EXPECT_NE(help.find(key), std::string::npos) << key;
#endif
}

TEST(CommandLineReport, HelpAndVersionGoToStandardOutputAndEndWithZero) {
    CommandLine help;
    help.action = CommandLineAction::showHelp;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(reportCommandLine(help), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), helpText());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    CommandLine version;
    version.action = CommandLineAction::showVersion;
    testing::internal::CaptureStdout();
    EXPECT_EQ(reportCommandLine(version), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), versionText());
}

TEST(CommandLineReport, ARefusalGoesToStandardErrorWithTheHintAndEndsWithTwo) {
    const CommandLine refused = parse({"--scale", "99"});
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(reportCommandLine(refused), 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kordavan: --scale takes a whole number from 1 to 16, not '99'\n"
              "Try 'kordavan --help'.\n");
}

// As GNU programs do: help or version that could not be written (a full
// disk, a closed output) is a failure, said on standard error.
TEST(CommandLineReport, HelpAndVersionThatCannotBeWrittenEndWithOne) {
    for (const auto action : {CommandLineAction::showHelp, CommandLineAction::showVersion}) {
        CommandLine shown;
        shown.action = action;
        const auto intoFullDisk = [&] {
            const int full = ::open("/dev/full", O_WRONLY);
            if (full < 0 || ::dup2(full, STDOUT_FILENO) < 0) return 99;
            return reportCommandLine(shown);
        };
        const auto intoNothing = [&] {
            ::close(STDOUT_FILENO);
            return reportCommandLine(shown);
        };
        EXPECT_EQ(sdltest::runInChild(intoFullDisk), 1);
        EXPECT_EQ(sdltest::runInChild(intoNothing), 1);
        const std::string said = sdltest::childStderr([&] { intoFullDisk(); });
        EXPECT_EQ(said, "kordavan: write error: No space left on device\n");
    }
}

}  // namespace
