// The player's choices: the command line over the settings file, handed to
// the machine, and a switch of display remembered in the file.

#include "shell/preferences.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/sdl_test_support.h"

namespace {

TEST(PreferencesTest, TheCommandLineWinsOnlyWhereThePlayerSaidSomething) {
    Settings file;
    file.fullscreen = false;
    file.scale = 3;
    file.volume = 40;
    file.pauseOnFocusLoss = true;

    EXPECT_EQ(chooseSettings(file, Options{}), file) << "nothing said, the file holds";

    Options options;
    options.display = DisplayMode::fullscreen;
    options.volume = 0;
    options.integerScale = true;
    const Settings chosen = chooseSettings(file, options);
    EXPECT_TRUE(chosen.fullscreen);
    EXPECT_EQ(chosen.volume, 0);
    EXPECT_TRUE(chosen.integerScale);
    EXPECT_EQ(chosen.scale, 3);
    EXPECT_TRUE(chosen.pauseOnFocusLoss);
}

class PreferencesFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        std::filesystem::create_directories(home / "kordavan");
    }
    void TearDown() override {
        std::filesystem::remove_all(home);
        platform::setSoundOptions({});
    }
    std::string fileText() const {
        std::ifstream in(home / "kordavan" / "kordavan.conf", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path home = std::filesystem::temp_directory_path() /
                                 ("kordavan-preferences-" + std::to_string(::getpid()));
    sdltest::EnvVar config{"XDG_CONFIG_HOME", home.c_str()};
};

TEST_F(PreferencesFileTest, TheChoicesReachTheMachine) {
    std::ofstream(home / "kordavan" / "kordavan.conf") << "display = window\nscale = 2\n";
    Options options;
    options.volume = 30;
    options.noSound = true;
    usePreferences(options, readSettingsFile(settingsPath(), std::cerr));
    EXPECT_FALSE(platform::displayOptions().fullscreen);
    EXPECT_EQ(platform::displayOptions().scale, 2);
    EXPECT_EQ(platform::soundOptions().volume, 30);
    EXPECT_TRUE(platform::soundOptions().silent);
}

// What the application registered for the loop and the recorder, as last sent.
Settings sentToLoop;
Settings sentToRecorder;
int sends = 0;

TEST_F(PreferencesFileTest, EveryUseHearsTheRunsSettingsAtStartAndOnEachChange) {
    sendSettingsTo(SettingUse::loop, [](const Settings& settings) {
        sentToLoop = settings;
        ++sends;
    });
    sendSettingsTo(SettingUse::recorder,
                   [](const Settings& settings) { sentToRecorder = settings; });
    std::ofstream(home / "kordavan" / "kordavan.conf") << "pause-on-focus-loss = yes\n";
    usePreferences(Options{}, readSettingsFile(settingsPath(), std::cerr));
    EXPECT_TRUE(sentToLoop.pauseOnFocusLoss) << "at start-up";
    EXPECT_EQ(sends, 1) << "once, however many rows it has";

    // A change on the settings screen: every use hears it at once.
    const struct {
        void (*change)(Settings&);
        bool (*heard)();
    } changes[] = {
        {[](Settings& s) { s.pauseOnFocusLoss = false; },
         [] { return !sentToLoop.pauseOnFocusLoss; }},
        {[](Settings& s) { s.recordGames = true; }, [] { return sentToRecorder.recordGames; }},
        {[](Settings& s) { s.volume = 20; }, [] { return platform::soundOptions().volume == 20; }},
        {[](Settings& s) { s.fullscreen = false; },
         [] { return !platform::displayOptions().fullscreen; }},
        {[](Settings& s) { s.scale = 3; }, [] { return platform::displayOptions().scale == 3; }},
        {[](Settings& s) { s.integerScale = true; },
         [] { return platform::displayOptions().integerScale; }},
    };
    for (const auto& change : changes) {
        Settings settings = currentSettings();
        change.change(settings);
        useSettings(settings);
        EXPECT_TRUE(change.heard());
        EXPECT_EQ(currentSettings(), settings);
    }
    sendSettingsTo(SettingUse::loop, nullptr);
    sendSettingsTo(SettingUse::recorder, nullptr);
}

TEST_F(PreferencesFileTest, ASwitchOfDisplayChangesOnlyTheDisplayLineOfTheFileAsItIsThen) {
    const auto conf = home / "kordavan" / "kordavan.conf";
    std::ofstream(conf, std::ios::binary) << "# mine\ndisplay = window\nvolume = 70\n";
    Options options;
    options.volume = 10;  // this run only
    usePreferences(options, readSettingsFile(settingsPath(), std::cerr));
    rememberDisplayChoice();
    EXPECT_EQ(fileText(), "# mine\ndisplay = window\nvolume = 70\n") << "nothing switched yet";

    // While the game runs the player (or a second game) changes the file.
    const std::string edited = "# mine\r\ndisplay = window\r\nvolume = 30\r\nvolume = x\n";
    std::ofstream(conf, std::ios::binary | std::ios::trunc) << edited;
    platform::headless::switchDisplay();  // F11
    rememberDisplayChoice();
    EXPECT_EQ(fileText(), "# mine\r\ndisplay = fullscreen\r\nvolume = 30\r\nvolume = x\n");
}

}  // namespace
