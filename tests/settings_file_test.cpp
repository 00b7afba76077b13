// The settings file: where it lives, what a damaged one costs the player, and
// that writing it keeps what the player wrote there.

#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tests/sdl_test_support.h"

namespace {

namespace fs = std::filesystem;
using sdltest::EnvVar;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void put(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A private configuration folder for each test, gone afterwards.
class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        home = fs::temp_directory_path() /
               ("kordavan-settings-" + std::to_string(getpid()) + "-" + test->name());
        fs::remove_all(home);
        fs::create_directories(home);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(file(), fs::perms::owner_all, ignored);
        fs::remove_all(home);
    }

    fs::path file() const { return home / "config" / "kordavan" / "kordavan.conf"; }
    Settings read() {
        warnings.str("");
        return readSettings(file(), warnings);
    }

    fs::path home;
    EnvVar config{"XDG_CONFIG_HOME", nullptr};
    std::ostringstream warnings;
};

// ---------------------------------------------------------------- where

TEST_F(SettingsFileTest, LivesUnderXdgConfigHome) {
    EnvVar xdg("XDG_CONFIG_HOME", (home / "config").c_str());
    EXPECT_EQ(settingsPath(), file());
}

TEST_F(SettingsFileTest, WithoutXdgConfigHomeLivesInTheHomeFoldersConfig) {
    EnvVar homeFolder("HOME", "/home/pilot");
    EXPECT_EQ(settingsPath(), fs::path("/home/pilot/.config/kordavan/kordavan.conf"));
    // An empty or relative XDG_CONFIG_HOME counts as not set.
    EnvVar empty("XDG_CONFIG_HOME", "");
    EXPECT_EQ(settingsPath(), fs::path("/home/pilot/.config/kordavan/kordavan.conf"));
    EnvVar relative("XDG_CONFIG_HOME", "config");
    EXPECT_EQ(settingsPath(), fs::path("/home/pilot/.config/kordavan/kordavan.conf"));
}

// ---------------------------------------------------------------- reading

TEST_F(SettingsFileTest, NoFileGivesTheDefaultsWithoutAWord) {
    EXPECT_EQ(read(), Settings{});
    EXPECT_EQ(warnings.str(), "");
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(SettingsFileTest, EveryKeyIsRead) {
    put(file(),
        "# mine\n"
        "display = window\n"
        "scale = 3\n"
        "integer-scale = yes\n"
        "volume = 40\n"
        "pause-on-focus-loss = yes\n");
    const Settings settings = read();
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.scale, 3);
    EXPECT_TRUE(settings.integerScale);
    EXPECT_EQ(settings.volume, 40);
    EXPECT_TRUE(settings.pauseOnFocusLoss);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(SettingsFileTest, SpacingCaseAndWindowsLineEndsDoNotMatter) {
    put(file(), "  Display=FullScreen \r\n\tvolume\t=\t7\r\nINTEGER-SCALE = On\r\nscale=0");
    const Settings settings = read();
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_EQ(settings.volume, 7);
    EXPECT_TRUE(settings.integerScale);
    EXPECT_EQ(settings.scale, 0);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(SettingsFileTest, TheLastLineOfAKeyWins) {
    put(file(), "volume = 10\nvolume = 90\n");
    EXPECT_EQ(read().volume, 90);
}

TEST_F(SettingsFileTest, ABadValueWarnsWithFileAndLineAndKeepsItsDefault) {
    put(file(),
        "display = window\n"
        "\n"
        "volume = loud\n"
        "scale = 17\n"
        "integer-scale = maybe\n"
        "pause-on-focus-loss = yes\n");
    const Settings settings = read();
    // What could be read is taken; what could not keeps its default.
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_TRUE(settings.pauseOnFocusLoss);
    EXPECT_EQ(settings.volume, 100);
    EXPECT_EQ(settings.scale, 0);
    EXPECT_FALSE(settings.integerScale);
    const std::string text = warnings.str();
    EXPECT_NE(text.find(file().string() + ":3: volume must be a whole number from 0 to 100, "
                                          "not \"loud\"; using 100\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(file().string() + ":4: scale must be"), std::string::npos) << text;
    EXPECT_NE(text.find(file().string() + ":5: integer-scale must be yes or no"), std::string::npos)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
}

TEST_F(SettingsFileTest, NumbersMustBeWholeAndInRange) {
    for (const char* bad : {"-1", "101", "5.5", "5x", "", "0x10", "99999999999999999999"}) {
        put(file(), std::string("volume = ") + bad + "\n");
        EXPECT_EQ(read().volume, 100) << bad;
        EXPECT_NE(warnings.str(), "") << bad;
    }
    for (int good : {0, 1, 100}) {
        put(file(), "volume = " + std::to_string(good) + "\n");
        EXPECT_EQ(read().volume, good);
        EXPECT_EQ(warnings.str(), "");
    }
}

TEST_F(SettingsFileTest, ALineThatIsNoSettingWarnsAndTheRestIsRead) {
    put(file(), "volume = 20\nthis is not a setting\n\x01\x02\xff garbage\nscale = 2\n");
    const Settings settings = read();
    EXPECT_EQ(settings.volume, 20);
    EXPECT_EQ(settings.scale, 2);
    const std::string text = warnings.str();
    EXPECT_NE(text.find(":2: not a setting"), std::string::npos) << text;
    EXPECT_NE(text.find(":3: not a setting"), std::string::npos) << text;
    // Only printable characters reach the player's terminal.
    EXPECT_EQ(text.find('\x01'), std::string::npos);
}

TEST_F(SettingsFileTest, UnknownKeysAreNoFault) {
    put(file(), "difficulty = hard\nvolume = 30\n");
    EXPECT_EQ(read().volume, 30);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(SettingsFileTest, AnUnreadableFileWarnsGivesTheDefaultsAndIsLeftAsItWas) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    put(file(), "volume = 5\n");
    fs::permissions(file(), fs::perms::none);
    EXPECT_EQ(read(), Settings{});
    EXPECT_NE(warnings.str().find("cannot read " + file().string()), std::string::npos)
        << warnings.str();
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(contents(file()), "volume = 5\n");
}

TEST_F(SettingsFileTest, AFolderWhereTheFileShouldBeIsUnreadable) {
    fs::create_directories(file());
    EXPECT_EQ(read(), Settings{});
    EXPECT_NE(warnings.str().find("cannot read " + file().string()), std::string::npos)
        << warnings.str();
}

TEST_F(SettingsFileTest, AHugeFileIsNotTakenForSettings) {
    put(file(), "volume = 5\n" + std::string(200 * 1024, '#'));
    EXPECT_EQ(read(), Settings{});
    EXPECT_NE(warnings.str().find("too large"), std::string::npos) << warnings.str();
}

TEST_F(SettingsFileTest, ReadingADamagedFileLeavesItAsItWas) {
    const std::string damaged = "volume = loud\nnonsense\n\n# note\r\nscale = -4";
    put(file(), damaged);
    read();
    EXPECT_NE(warnings.str(), "");
    EXPECT_EQ(contents(file()), damaged);
}

// ---------------------------------------------------------------- writing

TEST_F(SettingsFileTest, WrittenSettingsReadBackTheSame) {
    Settings chosen;
    chosen.fullscreen = false;
    chosen.scale = 2;
    chosen.integerScale = true;
    chosen.volume = 65;
    chosen.pauseOnFocusLoss = true;
    ASSERT_TRUE(writeSettings(file(), chosen, warnings)) << warnings.str();
    EXPECT_EQ(read(), chosen);
    EXPECT_EQ(warnings.str(), "");
    const std::string text = contents(file());
    EXPECT_NE(text.find("\ndisplay = window\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nscale = 2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\ninteger-scale = yes\n"), std::string::npos) << text;
}

TEST_F(SettingsFileTest, WritingKeepsCommentsUnknownKeysAndTheirPlaces) {
    put(file(),
        "# my settings\n"
        "difficulty = hard\n"
        "\n"
        "Volume = 20\n"
        "not a setting at all\n"
        "display = fullscreen\n"
        "display = window\n"
        "# end\n");
    Settings chosen;
    chosen.fullscreen = false;
    chosen.volume = 80;
    ASSERT_TRUE(writeSettings(file(), chosen, warnings)) << warnings.str();
    EXPECT_EQ(contents(file()),
              "# my settings\n"
              "difficulty = hard\n"
              "\n"
              "volume = 80\n"
              "not a setting at all\n"
              "display = window\n"
              "# end\n"
              "scale = 0\n"
              "integer-scale = no\n"
              "pause-on-focus-loss = no\n");
}

TEST_F(SettingsFileTest, WritingReplacesADamagedValueOfAKnownKey) {
    put(file(), "scale = banana\n# keep me\n");
    Settings chosen;
    chosen.scale = 3;
    ASSERT_TRUE(writeSettings(file(), chosen, warnings));
    const std::string text = contents(file());
    EXPECT_EQ(text.rfind("scale = 3\n# keep me\n", 0), 0u) << text;
    EXPECT_EQ(text.find("banana"), std::string::npos) << text;
}

TEST_F(SettingsFileTest, ANewFileAndItsFoldersAreMadeWithAnExplainingComment) {
    ASSERT_FALSE(fs::exists(file().parent_path()));
    ASSERT_TRUE(writeSettings(file(), Settings{}, warnings)) << warnings.str();
    const std::string text = contents(file());
    EXPECT_EQ(text.rfind("#", 0), 0u) << text;
    EXPECT_NE(text.find("\ndisplay = fullscreen\n"), std::string::npos) << text;
    EXPECT_EQ(read(), Settings{});
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(SettingsFileTest, WritingLeavesNoTemporaryFileBehindAndKeepsThePermissions) {
    put(file(), "volume = 1\n");
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeSettings(file(), Settings{}, warnings));
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(file().parent_path())) {
        ++entries;
        EXPECT_EQ(entry.path().filename(), "kordavan.conf");
    }
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(fs::status(file()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsFileTest, AnUnreadableFileIsNotOverwritten) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    put(file(), "difficulty = hard\n");
    fs::permissions(file(), fs::perms::none);
    EXPECT_FALSE(writeSettings(file(), Settings{}, warnings));
    EXPECT_NE(warnings.str().find("not saved"), std::string::npos) << warnings.str();
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(contents(file()), "difficulty = hard\n");
}

TEST_F(SettingsFileTest, AFolderThatCannotBeWrittenReportsWithoutLosingTheFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes every folder";
    put(file(), "volume = 9\n");
    fs::permissions(file().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(writeSettings(file(), Settings{}, warnings));
    fs::permissions(file().parent_path(), fs::perms::owner_all);
    EXPECT_NE(warnings.str().find("not saved"), std::string::npos) << warnings.str();
    EXPECT_EQ(contents(file()), "volume = 9\n");
}

TEST_F(SettingsFileTest, AFolderInPlaceOfTheFileIsNotReplaced) {
    fs::create_directories(file() / "inside");
    EXPECT_FALSE(writeSettings(file(), Settings{}, warnings));
    EXPECT_NE(warnings.str().find("not saved"), std::string::npos) << warnings.str();
    EXPECT_TRUE(fs::is_directory(file() / "inside"));
}

TEST_F(SettingsFileTest, AFileInPlaceOfTheFolderReportsAndChangesNothing) {
    put(file().parent_path(), "mine\n");
    EXPECT_FALSE(writeSettings(file(), Settings{}, warnings));
    EXPECT_NE(warnings.str().find("not saved"), std::string::npos) << warnings.str();
    EXPECT_EQ(contents(file().parent_path()), "mine\n");
}

TEST_F(SettingsFileTest, ALinkedFileStaysALinkAndItsTargetChanges) {
    const fs::path real = home / "dotfiles" / "kordavan.conf";
    put(real, "# shared\nvolume = 3\n");
    fs::create_directories(file().parent_path());
    fs::create_symlink(real, file());
    Settings chosen;
    chosen.volume = 44;
    ASSERT_TRUE(writeSettings(file(), chosen, warnings)) << warnings.str();
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_EQ(contents(real).rfind("# shared\nvolume = 44\n", 0), 0u) << contents(real);
}

TEST_F(SettingsFileTest, TheFileFoundThroughTheEnvironmentIsTheOneWritten) {
    EnvVar xdg("XDG_CONFIG_HOME", (home / "config").c_str());
    Settings chosen;
    chosen.pauseOnFocusLoss = true;
    ASSERT_TRUE(writeSettings(settingsPath(), chosen, warnings));
    EXPECT_TRUE(read().pauseOnFocusLoss);
}

// ---------------------------------------------------------------- text alone

TEST(SettingsText, UpdatingTextWithoutSettingsAddsEveryKey) {
    Settings chosen;
    chosen.fullscreen = false;
    chosen.scale = 4;
    EXPECT_EQ(updateSettingsText("", chosen),
              "display = window\nscale = 4\ninteger-scale = no\nvolume = 100\n"
              "pause-on-focus-loss = no\n");
}

TEST(SettingsText, ALastLineWithoutItsNewlineGetsOne) {
    const std::string text = updateSettingsText("# a\nspeed = 2", Settings{});
    EXPECT_EQ(text.rfind("# a\nspeed = 2\ndisplay = fullscreen\n", 0), 0u) << text;
}

TEST(SettingsText, ValuesOutOfRangeAreWrittenInRange) {
    Settings wild;
    wild.volume = 250;
    wild.scale = -3;
    std::ostringstream warnings;
    const Settings back = parseSettings(updateSettingsText("", wild), "x", warnings);
    EXPECT_EQ(back.volume, 100);
    EXPECT_EQ(back.scale, 0);
    EXPECT_EQ(warnings.str(), "");
}

}  // namespace
