// Screenshots: the PNG holds the frame's colours, the folder follows
// xdg-user-dirs, and saving never overwrites, never leaves a half-written
// file behind and says why when it cannot save.

#include "shell/screenshot.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test, and puts it back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class ScreenshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kordavan-shot-test-" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST(ScreenshotPng, HoldsTheFramesColoursWidenedToFullIntensity) {
    platform::Surface frame;
    frame.width = 640;
    frame.height = 480;
    frame.pixels.assign(640 * 480, 0);
    frame.pixels[0] = 0xFFFF;                // white
    frame.pixels[1] = 0xF800;                // red
    frame.pixels[640 * 479 + 639] = 0x07E0;  // green, bottom right
    frame.pixels[640 * 200 + 100] = 0x0010;  // a half blue
    const std::vector<uint8_t> bytes = encodePng(frame);
    ASSERT_FALSE(bytes.empty());

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
    EXPECT_EQ(image.width, 640u);
    EXPECT_EQ(image.height, 480u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    const auto at = [&](int x, int y, int c) {
        return rgb[(static_cast<size_t>(y) * 640 + x) * 3 + c];
    };
    EXPECT_EQ(at(0, 0, 0), 255);
    EXPECT_EQ(at(0, 0, 1), 255);
    EXPECT_EQ(at(0, 0, 2), 255);
    EXPECT_EQ(at(1, 0, 0), 255);
    EXPECT_EQ(at(1, 0, 1), 0);
    EXPECT_EQ(at(639, 479, 1), 255);
    EXPECT_EQ(at(639, 479, 0), 0);
    EXPECT_EQ(at(100, 200, 2), 132);
    EXPECT_EQ(at(5, 5, 0), 0);

    frame.pixels.pop_back();  // a surface that lies about its size
    EXPECT_TRUE(encodePng(frame).empty());
}

TEST_F(ScreenshotTest, FolderComesFromUserDirsOrPictures) {
    const ScopedEnv home("HOME", folder.string());
    const ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(screenshotFolder(), folder / "Pictures" / "Kordavan");
    fs::create_directories(folder / ".config");
    std::ofstream(folder / ".config" / "user-dirs.dirs")
        << "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
           "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(screenshotFolder(), folder / "Bilder" / "Kordavan");
    const ScopedEnv moved("XDG_CONFIG_HOME", (folder / "elsewhere").string());
    fs::create_directories(folder / "elsewhere");
    std::ofstream(folder / "elsewhere" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"/srv/shots\"\n";
    EXPECT_EQ(screenshotFolder(), fs::path("/srv/shots/Kordavan"));
    // The home folder itself means the pictures folder was switched off.
    std::ofstream(folder / "elsewhere" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/\"\n";
    EXPECT_EQ(screenshotFolder(), folder / "Pictures" / "Kordavan");
}

TEST_F(ScreenshotTest, SavesUnderTheTimeAndNeverOverwrites) {
    const std::vector<uint8_t> png = {1, 2, 3};
    const std::time_t when = 1'800'000'000;
    std::string error;
    const fs::path first = saveScreenshotFile(png, folder / "Kordavan", when, error);
    const fs::path second = saveScreenshotFile({4, 5}, folder / "Kordavan", when, error);
    ASSERT_FALSE(first.empty()) << error;
    ASSERT_FALSE(second.empty()) << error;
    EXPECT_NE(first, second);
    EXPECT_EQ(first.extension(), ".png");
    EXPECT_EQ(second.filename().string().find(" (2).png") != std::string::npos, true);
    EXPECT_EQ(fs::file_size(first), 3u);
    EXPECT_EQ(fs::file_size(second), 2u);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder / "Kordavan")) ++files;
    EXPECT_EQ(files, 2) << "no temporary file is left behind";
}

// A picture takes only a free name: never the place of a file, nor the file
// a link there names, even a link that leads nowhere yet.
TEST_F(ScreenshotTest, ANewFileNeverTakesATakenName) {
    std::ofstream(folder / "shot.png") << "the player's";
    fs::create_symlink(folder / "later.png", folder / "link.png");
    std::string reason;
    EXPECT_EQ(platform::createFile(folder / "shot.png", "new", reason),
              platform::CreateStatus::taken);
    EXPECT_EQ(platform::createFile(folder / "link.png", "new", reason),
              platform::CreateStatus::taken);
    EXPECT_FALSE(fs::exists(folder / "later.png"));
    EXPECT_EQ(platform::createFile(folder / "missing" / "x.png", "new", reason),
              platform::CreateStatus::failed);
    EXPECT_FALSE(reason.empty());
    ASSERT_EQ(platform::createFile(folder / "new.png", "new", reason),
              platform::CreateStatus::created)
        << reason;
    std::ifstream old(folder / "shot.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "the player's");
    EXPECT_EQ(fs::file_size(folder / "new.png"), 3u);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 3) << "no temporary file is left behind";
}

TEST_F(ScreenshotTest, AFailureSaysWhy) {
    std::ofstream(folder / "taken") << "a file where the folder should be";
    std::string error;
    EXPECT_TRUE(saveScreenshotFile({1}, folder / "taken" / "Kordavan", 0, error).empty());
    EXPECT_NE(error.find("cannot write in"), std::string::npos) << error;
    EXPECT_TRUE(saveScreenshotFile({}, folder, 0, error).empty());
    EXPECT_EQ(error, "the picture could not be encoded");
    EXPECT_TRUE(saveScreenshotFile({1}, fs::path(), 0, error).empty());
    EXPECT_EQ(error, "there is no home folder to keep it in");
}

}  // namespace
