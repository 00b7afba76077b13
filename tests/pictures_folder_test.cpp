// Where the player's pictures go: the desktop's own pictures folder, named in
// the environment or in user-dirs.dirs as xdg-user-dirs writes it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "tests/sdl_test_support.h"

namespace {

namespace fs = std::filesystem;
using sdltest::EnvVar;

class PicturesFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder / ".config");
    }
    void TearDown() override { fs::remove_all(folder); }
    void userDirs(const std::string& text) {
        std::ofstream(folder / ".config" / "user-dirs.dirs") << text;
    }
    fs::path folder =
        fs::temp_directory_path() / ("kordavan-pictures-" + std::to_string(::getpid()));
    EnvVar home{"HOME", folder.c_str()};
    EnvVar config{"XDG_CONFIG_HOME", nullptr};
    EnvVar pictures{"XDG_PICTURES_DIR", nullptr};
};

TEST_F(PicturesFolderTest, OnlyHomeItselfIsTheHomeFolder) {
    userDirs("XDG_PICTURES_DIR=\"$HOMEX/pics\"\n");
    // $HOMEX is no variable the file may use: the folder stays the default.
    EXPECT_EQ(platform::picturesFolder(), folder / "Pictures");
    userDirs("XDG_PICTURES_DIR=\"$HOME/pics\"\n");
    EXPECT_EQ(platform::picturesFolder(), folder / "pics");
}

TEST_F(PicturesFolderTest, TheEnvironmentStandsAboveTheFile) {
    userDirs("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    const EnvVar set{"XDG_PICTURES_DIR", "/srv/shots"};
    EXPECT_EQ(platform::picturesFolder(), fs::path("/srv/shots"));
    // A relative folder, or the home folder itself, is no pictures folder.
    const EnvVar relative{"XDG_PICTURES_DIR", "shots"};
    EXPECT_EQ(platform::picturesFolder(), folder / "Bilder");
    const EnvVar homeItself{"XDG_PICTURES_DIR", folder.c_str()};
    EXPECT_EQ(platform::picturesFolder(), folder / "Bilder");
}

}  // namespace
