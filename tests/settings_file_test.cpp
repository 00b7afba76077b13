// The settings file: where it lives, what a damaged one costs the player, and
// that saving the display choice touches nothing else of the player's.
//
// Root may read and write anything, so a test run as root (as CI runs) takes
// the user "nobody" for each test: the permission tests run there too.

#include "shell/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/sdl_test_support.h"

// Every fsync of the program, by file, so that a test can see that the
// settings folder reached the disk after the rename.
namespace {
std::vector<std::pair<dev_t, ino_t>> syncedFiles;
}  // namespace

extern "C" int fsync(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) == 0) syncedFiles.emplace_back(status.st_dev, status.st_ino);
    return static_cast<int>(::syscall(SYS_fsync, descriptor));
}

namespace {

namespace fs = std::filesystem;
using sdltest::EnvVar;
using sdltest::runInChild;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void put(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The effective user is "nobody" while it lives, when the test runs as root.
class Unprivileged {
  public:
    Unprivileged() {
        if (geteuid() != 0) return;
        const passwd* nobody = getpwnam("nobody");
        dropped = nobody != nullptr && setegid(nobody->pw_gid) == 0 && seteuid(nobody->pw_uid) == 0;
    }
    ~Unprivileged() {
        if (!dropped) return;
        if (seteuid(0) != 0 || setegid(0) != 0) std::abort();
    }
    bool asked() const { return dropped || geteuid() != 0; }

  private:
    bool dropped = false;
};

// A private configuration folder for each test, gone afterwards.
class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(user.asked()) << "root could not become nobody for the permission tests";
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        home = fs::temp_directory_path() /
               ("kordavan-settings-" + std::to_string(getpid()) + "-" + test->name());
        fs::remove_all(home);
        fs::create_directories(home);
    }
    void TearDown() override {
        std::error_code ignored;
        for (const fs::path& path :
             {file(), file().parent_path(), file().parent_path().parent_path()})
            fs::permissions(path, fs::perms::owner_all, ignored);
        fs::remove_all(home, ignored);
    }

    fs::path file() const { return home / "config" / "kordavan" / "kordavan.conf"; }
    Settings read() {
        warnings.str("");
        return readSettings(file(), warnings);
    }
    bool save(bool fullscreen) {
        warnings.str("");
        return saveDisplayChoice(file(), fullscreen, warnings);
    }

    Unprivileged user;
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

TEST_F(SettingsFileTest, SpacingCaseLineEndsAndAByteOrderMarkDoNotMatter) {
    put(file(), "\xEF\xBB\xBF  Display=Window \r\n\tvolume\t=\t7\r\nINTEGER-SCALE = On\r\nscale=0");
    const Settings settings = read();
    EXPECT_FALSE(settings.fullscreen) << "the first line, behind the byte-order mark";
    EXPECT_EQ(settings.volume, 7);
    EXPECT_TRUE(settings.integerScale);
    EXPECT_EQ(settings.scale, 0);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(SettingsFileTest, TheLastLineOfAKeyWins) {
    put(file(), "volume = 10\nvolume = 90\n");
    EXPECT_EQ(read().volume, 90);
}

TEST_F(SettingsFileTest, ABadValueWarnsWithFileAndLineAndTheValueUsed) {
    put(file(),
        "display = window\n"
        "\n"
        "volume = loud\n"
        "scale = x\n"
        "integer-scale = maybe\n"
        "display = sideways\n"
        "pause-on-focus-loss = yes\n");
    const Settings settings = read();
    // What could be read is taken; what could not keeps what it was.
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_TRUE(settings.pauseOnFocusLoss);
    EXPECT_EQ(settings.volume, 100);
    EXPECT_EQ(settings.scale, 0);
    EXPECT_FALSE(settings.integerScale);
    const std::string text = warnings.str();
    const std::string name = file().string();
    for (const std::string& line :
         {name + ":3: volume must be a whole number from 0 to 100, not \"loud\"; using 100\n",
          name + ":4: scale must be a whole number from 0 to 16, not \"x\"; using the largest "
                 "window that fits\n",
          name + ":5: integer-scale must be yes or no, not \"maybe\"; using no\n",
          name + ":6: display must be window or fullscreen, not \"sideways\"; using window\n"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << text;
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

// A misspelt key would otherwise be dropped without a word.
TEST_F(SettingsFileTest, UnknownKeysAreSaidAndTheRestIsRead) {
    put(file(), "difficulty = hard\nvolume = 30\n");
    EXPECT_EQ(read().volume, 30);
    EXPECT_EQ(warnings.str(),
              "kordavan: " + file().string() + ":1: no setting called \"difficulty\"; left out\n");
}

TEST_F(SettingsFileTest, AnUnreadableFileWarnsGivesTheDefaultsAndIsLeftAsItWas) {
    put(file(), "volume = 5\n");
    fs::permissions(file(), fs::perms::none);
    EXPECT_EQ(read(), Settings{});
    EXPECT_NE(warnings.str().find("cannot read " + file().string() + ": Permission denied"),
              std::string::npos)
        << warnings.str();
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(contents(file()), "volume = 5\n");
}

TEST_F(SettingsFileTest, OnlyARegularFileIsRead) {
    fs::create_directories(file());
    EXPECT_EQ(read(), Settings{});
    EXPECT_NE(warnings.str().find("cannot read " + file().string()), std::string::npos)
        << warnings.str();
    fs::remove(file());
    // A pipe would wait for a writer for ever: start-up must not.
    ASSERT_EQ(mkfifo(file().c_str(), 0600), 0);
    ASSERT_EQ(runInChild([&] { return read() == Settings{} ? 0 : 1; }), 0)
        << "127: reading waited on the pipe";
    read();
    EXPECT_NE(warnings.str().find("not a regular file"), std::string::npos) << warnings.str();
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

// ---------------------------------------------------------------- saving the display

TEST_F(SettingsFileTest, ASwitchChangesTheDisplayValueAndNotOneOtherByte) {
    const std::string mine =
        "\xEF\xBB\xBF# my settings\r\n"
        "difficulty = hard\n"
        "Volume = 20\r\n"
        "volume = loud\n"
        "scale = 3\n"
        "scale = 3\n"
        "Display=FullScreen  \r\n"
        "display = sideways\n"
        "# end";
    put(file(), mine);
    ASSERT_TRUE(save(false)) << warnings.str();
    std::string expected = mine;
    expected.replace(expected.find("FullScreen"), 10, "window");
    EXPECT_EQ(contents(file()), expected);
    EXPECT_FALSE(read().fullscreen);
}

TEST_F(SettingsFileTest, NothingToChangeWritesNothing) {
    put(file(), "display = Window\n");
    struct stat before {};
    ::stat(file().c_str(), &before);
    EXPECT_TRUE(save(false));
    struct stat after {};
    ::stat(file().c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was written again";
    EXPECT_EQ(contents(file()), "display = Window\n");
}

TEST_F(SettingsFileTest, ANewFileAndItsFoldersAreMadeWithAnExplainingComment) {
    ASSERT_FALSE(fs::exists(file().parent_path()));
    ASSERT_TRUE(save(false)) << warnings.str();
    const std::string text = contents(file());
    EXPECT_EQ(text.rfind("#", 0), 0u) << text;
    EXPECT_TRUE(text.ends_with("\ndisplay = window\n")) << text;
    EXPECT_FALSE(read().fullscreen);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(SettingsFileTest, TheModeIsKeptTheFolderSyncedAndNoTemporaryFileStays) {
    put(file(), "display = window\n");
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // One temporary file of a process that was killed while saving, one of
    // a live one (this test's parent) that may be saving right now.
    const pid_t dead = fork();
    if (dead == 0) _exit(0);
    ::waitpid(dead, nullptr, 0);
    const fs::path folder = file().parent_path();
    const fs::path stale = folder / (".kordavan.conf." + std::to_string(dead) + ".tmp");
    const fs::path live = folder / (".kordavan.conf." + std::to_string(getppid()) + ".tmp");
    put(stale, "display = window\n");
    put(live, "display = window\n");
    syncedFiles.clear();
    ASSERT_TRUE(save(true)) << warnings.str();
    EXPECT_EQ(contents(file()), "display = fullscreen\n");
    EXPECT_EQ(fs::status(file()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    fs::remove(live);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    struct stat folderStatus {};
    ::stat(folder.c_str(), &folderStatus);
    EXPECT_NE(std::find(syncedFiles.begin(), syncedFiles.end(),
                        std::pair(folderStatus.st_dev, folderStatus.st_ino)),
              syncedFiles.end())
        << "the rename was not made lasting";
}

TEST_F(SettingsFileTest, AReadOnlyOrUnreadableFileIsLeftAlone) {
    put(file(), "difficulty = hard\n");
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find("not saved in " + file().string() + ": it is read-only\n"),
              std::string::npos)
        << warnings.str();
    EXPECT_EQ(contents(file()), "difficulty = hard\n");
    const std::string said = warnings.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "one line says why";

    fs::permissions(file(), fs::perms::none);
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find("cannot read it: Permission denied"), std::string::npos)
        << warnings.str();
    fs::permissions(file(), fs::perms::owner_read);
    EXPECT_EQ(contents(file()), "difficulty = hard\n");
}

TEST_F(SettingsFileTest, AFolderThatCannotBeWrittenOrMadeGivesTheRealReason) {
    put(file(), "volume = 9\n");
    fs::permissions(file().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find(": Permission denied\n"), std::string::npos) << warnings.str();
    fs::permissions(file().parent_path(), fs::perms::owner_all);
    EXPECT_EQ(contents(file()), "volume = 9\n");

    // The settings folder itself cannot be made.
    fs::remove_all(file().parent_path());
    fs::permissions(file().parent_path().parent_path(),
                    fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find(": Permission denied\n"), std::string::npos) << warnings.str();
}

TEST_F(SettingsFileTest, AFolderInPlaceOfTheFileIsNotReplaced) {
    fs::create_directories(file() / "inside");
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find("not saved"), std::string::npos) << warnings.str();
    EXPECT_TRUE(fs::is_directory(file() / "inside"));
}

TEST_F(SettingsFileTest, AFileInPlaceOfTheFolderReportsAndChangesNothing) {
    put(file().parent_path(), "mine\n");
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find("not saved"), std::string::npos) << warnings.str();
    EXPECT_EQ(contents(file().parent_path()), "mine\n");
}

TEST_F(SettingsFileTest, ALinkedFileStaysALinkAndItsTargetChanges) {
    const fs::path real = home / "dotfiles" / "kordavan.conf";
    put(real, "# shared\ndisplay = fullscreen\nvolume = 3\n");
    fs::create_directories(file().parent_path());
    fs::create_symlink(real, file());
    ASSERT_TRUE(save(false)) << warnings.str();
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_EQ(contents(real), "# shared\ndisplay = window\nvolume = 3\n");
}

TEST_F(SettingsFileTest, ALinkToAnythingButARegularFileIsLeftAlone) {
    fs::create_directories(file().parent_path());
    // The usual way to keep a program from saving; nobody could not replace
    // /dev/null anyway, root must not.
    fs::create_symlink("/dev/null", file());
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find(": cannot read it: not a regular file\n"), std::string::npos)
        << warnings.str();
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    const fs::path pipe = home / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    fs::remove(file());
    fs::create_symlink(pipe, file());
    ASSERT_EQ(runInChild([&] { return save(false) ? 1 : 0; }), 0) << "127: waited on the pipe";
    EXPECT_TRUE(fs::is_fifo(pipe));

    fs::remove(file());
    fs::create_symlink(home / "nowhere", file());
    EXPECT_FALSE(save(false));
    EXPECT_NE(warnings.str().find("a link that leads nowhere"), std::string::npos)
        << warnings.str();
    EXPECT_FALSE(fs::exists(home / "nowhere"));
}

TEST_F(SettingsFileTest, TheFileNeverGrowsPastWhatIsRead) {
    const std::string full =
        "display = window\n" + std::string(largestSettingsFile - 19, '#') + "\n";
    put(file(), full);
    ASSERT_EQ(read(), Settings{.fullscreen = false});
    EXPECT_FALSE(save(true));
    EXPECT_NE(warnings.str().find("would grow past 65536 bytes"), std::string::npos)
        << warnings.str();
    EXPECT_EQ(contents(file()), full);
}

// ---------------------------------------------------------------- text alone

TEST_F(SettingsFileTest, LinesAnotherProgramAddsMeanwhileAreNeverLost) {
    put(file(), "display = window\n");
    // A script adding a line at a time, as `echo ... >> kordavan.conf` does,
    // while the player presses F11 again and again.
    constexpr int added = 1500;
    const pid_t appender = fork();
    ASSERT_GE(appender, 0);
    if (appender == 0) {
        for (int i = 0; i < added; ++i) {
            const int descriptor = ::open(file().c_str(), O_WRONLY | O_APPEND);
            const std::string line = "# added " + std::to_string(i) + "\n";
            if (descriptor < 0 || ::write(descriptor, line.data(), line.size()) < 0) _exit(1);
            ::close(descriptor);
        }
        _exit(0);
    }
    int presses = 0;
    int status = 0;
    // A press may give up while the script adds line upon line (it says
    // so); what counts is that none of the script's lines is lost.
    while (::waitpid(appender, &status, WNOHANG) == 0) {
        if (!save(presses % 2 == 0)) {
            EXPECT_NE(warnings.str().find("another program keeps changing it"), std::string::npos)
                << warnings.str();
        }
        ++presses;
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(save(presses % 2 == 0)) << warnings.str();
    const std::string text = contents(file());
    for (int i = 0; i < added; ++i) {
        const std::string line = "# added " + std::to_string(i) + "\n";
        const size_t at = text.find(line);
        ASSERT_NE(at, std::string::npos) << "line " << i << " lost after " << presses << " presses";
        EXPECT_EQ(text.find(line, at + 1), std::string::npos) << "line " << i << " twice";
    }
    EXPECT_EQ(text.rfind(presses % 2 == 0 ? "display = fullscreen\n" : "display = window\n", 0),
              0u);
}

TEST(DisplayChoiceText, AFileWithoutADisplayLineGetsOneInItsOwnLineEnds) {
    EXPECT_EQ(withDisplayChoice("", false), "display = window\n");
    EXPECT_EQ(withDisplayChoice("# a\r\nspeed = 2", false),
              "# a\r\nspeed = 2\r\ndisplay = window\r\n");
    EXPECT_EQ(withDisplayChoice("# a\n", true), "# a\ndisplay = fullscreen\n")
        << "the default said, so that it stays the player's choice";
}

TEST(DisplayChoiceText, TheLineThatDecidesIsTheOneChanged) {
    // A damaged line after a good one: the good one decides.
    EXPECT_EQ(withDisplayChoice("display = window\ndisplay = ?\n", true),
              "display = fullscreen\ndisplay = ?\n");
    // Only damaged ones: the last, which the player meant.
    EXPECT_EQ(withDisplayChoice("display = ?\ndisplay =\r\n", false),
              "display = ?\ndisplay = window\r\n");
}

}  // namespace
