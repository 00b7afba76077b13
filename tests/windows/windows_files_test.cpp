// A new file on Windows: moved into place by a rename that never replaces,
// so a name already taken keeps its file; a recording is made with
// CREATE_NEW and never empties one either.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

TEST(WindowsFiles, ANewFileNeverTakesATakenName) {
    const fs::path folder = fs::temp_directory_path() / "kordavan-new-file-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "shot.png", std::ios::binary) << "the player's";
    std::string reason;
    EXPECT_EQ(platform::createFile(folder / "shot.png", "new", reason),
              platform::CreateStatus::taken);
    EXPECT_EQ(platform::createFile(folder / "missing" / "x.png", "new", reason),
              platform::CreateStatus::failed);
    EXPECT_FALSE(reason.empty());
    ASSERT_EQ(platform::createFile(folder / "new.png", "new", reason),
              platform::CreateStatus::created)
        << reason;
    {
        std::ifstream old(folder / "shot.png", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "the player's");
    }
    EXPECT_EQ(fs::file_size(folder / "new.png"), 3u);
    // Nothing of the writes is left beside the files.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    fs::remove_all(folder);
}

TEST(WindowsFiles, ARecordingNeverEmptiesAFileAlreadyThere) {
    const fs::path folder = fs::temp_directory_path() / "kordavan-growing-file-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "earlier.replay", std::ios::binary) << "kordavan-replay 1\n";
    std::string reason;
    EXPECT_EQ(platform::startFile(folder / "earlier.replay", reason), nullptr);
    EXPECT_EQ(reason, "a file of that name is there already");
    EXPECT_EQ(fs::file_size(folder / "earlier.replay"), 18u);
    platform::GrowingFile* file = platform::startFile(folder / "new.replay", reason);
    ASSERT_NE(file, nullptr) << reason;
    EXPECT_TRUE(platform::addToFile(file, "kordavan-replay 1\n", reason)) << reason;
    platform::closeFile(file);
    EXPECT_EQ(fs::file_size(folder / "new.replay"), 18u);
    // One that never got a game is removed again.
    file = platform::startFile(folder / "title-only.replay", reason);
    ASSERT_NE(file, nullptr) << reason;
    platform::discardFile(file);
    EXPECT_FALSE(fs::exists(folder / "title-only.replay"));
    fs::remove_all(folder);
}

}  // namespace
