// A recording never costs the player a file: the POSIX file calls it goes
// through make a new file or none, never through a link, write whole lines
// or nothing, and never keep the game waiting for a pipe. Reading a file
// holds it in memory of its own size and never waits for a pipe either.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class GrowingFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kordavan-growing-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code error;
        fs::permissions(folder, fs::perms::owner_all, error);
        fs::remove_all(folder);
    }
    fs::path folder;
};

TEST_F(GrowingFileTest, AnExistingFileIsRefusedAndKeepsEveryByte) {
    const fs::path document = folder / "letter.txt";
    writeText(document, "Dear reader,\n");
    std::string reason;
    EXPECT_EQ(platform::startFile(document, reason), nullptr);
    EXPECT_EQ(reason, "a file of that name is there already");
    EXPECT_EQ(readText(document), "Dear reader,\n");
    // Root may write a read-only file, and still must not empty it.
    fs::permissions(document, fs::perms::owner_read);
    reason.clear();
    EXPECT_EQ(platform::startFile(document, reason), nullptr);
    EXPECT_EQ(reason, "a file of that name is there already");
    EXPECT_EQ(readText(document), "Dear reader,\n");
}

TEST_F(GrowingFileTest, ALinkIsNeverFollowedEvenOneLeadingNowhere) {
    // What protects root from a link another user planted: the open itself
    // refuses to pass through it.
    const fs::path victim = folder / "passwd";
    writeText(victim, "root:x:0:0\n");
    fs::create_symlink(victim, folder / "planted.replay");
    std::string reason;
    EXPECT_EQ(platform::startFile(folder / "planted.replay", reason), nullptr);
    EXPECT_EQ(reason, "a file of that name is there already");
    EXPECT_EQ(readText(victim), "root:x:0:0\n");

    fs::create_symlink(folder / "made-by-the-link", folder / "dangling.replay");
    EXPECT_EQ(platform::startFile(folder / "dangling.replay", reason), nullptr);
    EXPECT_FALSE(fs::exists(folder / "made-by-the-link"));
}

TEST_F(GrowingFileTest, TheSecondOfTwoRecordersIsRefused) {
    std::string reason;
    platform::GrowingFile* first = platform::startFile(folder / "one.replay", reason);
    ASSERT_NE(first, nullptr) << reason;
    EXPECT_EQ(platform::startFile(folder / "one.replay", reason), nullptr);
    ASSERT_TRUE(platform::addToFile(first, "kordavan-replay 1\n", reason)) << reason;
    platform::closeFile(first);
    EXPECT_EQ(readText(folder / "one.replay"), "kordavan-replay 1\n");
}

TEST_F(GrowingFileTest, AWriteCutShortByAFullDiskIsTakenBack) {
    // A file size limit stands in for the full disk: the write that crosses
    // it gets part of its bytes on the disk, then fails.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
    std::string reason;
    platform::GrowingFile* file = platform::startFile(folder / "full.replay", reason);
    ASSERT_NE(file, nullptr) << reason;
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string line = "LEFT RIGHT UP DOWN L SPACE RETURN\n";  // 34 bytes
    EXPECT_TRUE(platform::addToFile(file, line, reason));
    EXPECT_TRUE(platform::addToFile(file, line, reason));
    EXPECT_FALSE(platform::addToFile(file, line, reason));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(reason, "File too large");
    platform::closeFile(file);
    EXPECT_EQ(readText(folder / "full.replay"), line + line);
}

TEST_F(GrowingFileTest, APipeWhoseReaderStopsReadingNeverHoldsTheWriter) {
    const fs::path pipe = folder / "pipe.replay";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A reader that opened the pipe and then reads no more.
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::string reason;
    platform::GrowingFile* file = platform::startFile(pipe, reason);
    ASSERT_NE(file, nullptr) << reason;
    // The pipe holds some 64 KiB; past that a write that waited would wait
    // for ever.
    const std::string line(100, 'L');
    int written = 0;
    while (written < 100'000 && platform::addToFile(file, line + "\n", reason)) ++written;
    EXPECT_LT(written, 100'000);
    EXPECT_EQ(reason, "its reader does not keep up");
    platform::closeFile(file);
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(GrowingFileTest, APipeNobodyReadsIsRefusedAtOnce) {
    const fs::path pipe = folder / "pipe.replay";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string reason;
    EXPECT_EQ(platform::startFile(pipe, reason), nullptr);
    EXPECT_EQ(reason, "a pipe nobody reads");
}

TEST_F(GrowingFileTest, DiscardingRemovesOnlyTheFileThisProcessMade) {
    std::string reason;
    platform::GrowingFile* file = platform::startFile(folder / "empty.replay", reason);
    ASSERT_NE(file, nullptr) << reason;
    platform::discardFile(file);
    EXPECT_FALSE(fs::exists(folder / "empty.replay"));

    // Someone put their own file under the name meanwhile: it stays.
    file = platform::startFile(folder / "moved.replay", reason);
    ASSERT_NE(file, nullptr) << reason;
    fs::rename(folder / "moved.replay", folder / "elsewhere.replay");
    writeText(folder / "moved.replay", "theirs\n");
    platform::discardFile(file);
    EXPECT_EQ(readText(folder / "moved.replay"), "theirs\n");
}

TEST_F(GrowingFileTest, AMissingFileSaysWhy) {
    const platform::FileText missing = platform::readFile(folder / "nothing.replay", 1000);
    EXPECT_EQ(missing.status, platform::FileStatus::missing);
    EXPECT_EQ(missing.reason, "No such file or directory");
}

TEST_F(GrowingFileTest, APipeIsRefusedUnreadAndNeverWaitedFor) {
    const fs::path pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const platform::FileText read = platform::readFile(pipe, 1000);
    EXPECT_EQ(read.status, platform::FileStatus::failed);
    EXPECT_EQ(read.reason, "not a regular file");
}

TEST_F(GrowingFileTest, AFileTooLargeIsRefusedBeforeItIsRead) {
    writeText(folder / "big", std::string(1001, '\n'));
    const platform::FileText big = platform::readFile(folder / "big", 1000);
    EXPECT_EQ(big.status, platform::FileStatus::failed);
    EXPECT_EQ(big.reason, "larger than 1000 bytes, too large");
    EXPECT_EQ(big.text.capacity(), std::string().capacity());
}

TEST_F(GrowingFileTest, AFileIsHeldInMemoryOfItsOwnSize) {
    writeText(folder / "small", std::string(2000, 'x'));
    const platform::FileText small = platform::readFile(folder / "small", 256 << 20);
    ASSERT_EQ(small.status, platform::FileStatus::read);
    EXPECT_EQ(small.text.size(), 2000u);
    EXPECT_LT(small.text.capacity(), 4096u);
}

TEST_F(GrowingFileTest, AReplacementOfAChangedFileIsRefusedForTheCallerToRedo) {
    const fs::path file = folder / "kordavan.conf";
    writeText(file, "display = window\n");
    std::string reason;
    writeText(file, "display = window\nkey-quit = Q\n");  // added after it was read
    EXPECT_EQ(platform::replaceChangedFile(file, std::string("display = window\n"),
                                           "display = fullscreen\n", reason),
              platform::ReplaceStatus::changed);
    EXPECT_EQ(readText(file), "display = window\nkey-quit = Q\n");
    EXPECT_EQ(platform::replaceChangedFile(file, std::nullopt, "display = fullscreen\n", reason),
              platform::ReplaceStatus::changed);
    EXPECT_EQ(platform::replaceChangedFile(file, std::string("display = window\nkey-quit = Q\n"),
                                           "display = fullscreen\nkey-quit = Q\n", reason),
              platform::ReplaceStatus::replaced)
        << reason;
    EXPECT_EQ(readText(file), "display = fullscreen\nkey-quit = Q\n");
    EXPECT_EQ(platform::replaceChangedFile(folder / "new.conf", std::nullopt, "a\n", reason),
              platform::ReplaceStatus::replaced)
        << reason;
    EXPECT_EQ(readText(folder / "new.conf"), "a\n");
}

}  // namespace
