// The recordings folder: the names "record my games" gives its files, the
// order they are kept in (newest first, however many were begun in the same
// second), and the pruning to the newest fifty that leaves every file of the
// player's own naming where it was.

#include "shell/recordings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class RecordingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kordavan-recordings-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void make(const std::string& name) { std::ofstream(folder / name) << "kordavan-replay 1\n"; }

    std::vector<std::string> keptNames() {
        std::vector<std::string> names;
        for (const auto& path : keptRecordings(folder)) names.push_back(path.filename().string());
        return names;
    }

    // The n-th recording of an old day, one a minute, in the order made.
    static std::string oldName(int n) {
        char name[64];
        std::snprintf(name, sizeof name, "Kordavan 2020-01-01 %02d-%02d-00.replay", n / 60, n % 60);
        return name;
    }

    std::filesystem::path folder;
};

TEST_F(RecordingsTest, NamesAreTheTimeAndANumberForTheSameSecond) {
    const std::time_t when = 1'796'000'000;
    const std::string first = recordingName(when);
    EXPECT_EQ(first.rfind("Kordavan 20", 0), 0u);
    EXPECT_EQ(first.size(), std::string("Kordavan 2026-12-08 16-50-03.replay").size());
    EXPECT_TRUE(isRecordingName(first));
    const std::string second = recordingName(when, 2);
    EXPECT_EQ(second, first.substr(0, first.size() - 7) + " (2).replay");
    EXPECT_TRUE(isRecordingName(second));
    EXPECT_TRUE(isRecordingName(recordingName(when, 12)));

    for (const char* name :
         {"Kordavan 2026-12-08 16-50-03 (1).replay", "Kordavan 2026-12-08 16-50-03 (02).replay",
          "Kordavan 2026-12-08 16-50-03 (x).replay", "Kordavan 2026-12-08 16-50-03(2).replay",
          "Kordavan 2026-12-8 16-50-03.replay", "Kordavan 2026-12-08 16:50:03.replay",
          "kordavan 2026-12-08 16-50-03.replay", "Kordavan 2026-12-08 16-50-03.replay.txt",
          "Kordavan best flight.replay", "notes.txt", ""}) {
        EXPECT_FALSE(isRecordingName(name)) << name;
    }
}

TEST_F(RecordingsTest, KeptNewestFirstWithTheNumbersOfOneSecondInOrder) {
    make("Kordavan 2026-12-08 16-50-03.replay");
    make("Kordavan 2026-12-08 16-50-03 (10).replay");
    make("Kordavan 2025-12-31 23-59-59.replay");
    make("Kordavan 2026-12-08 16-50-04.replay");
    make("Kordavan 2026-12-08 16-50-03 (2).replay");
    make("notes.txt");
    make("Kordavan best flight.replay");
    // A folder of a recording's name is no recording.
    std::filesystem::create_directory(folder / "Kordavan 2027-01-01 00-00-00.replay");
    EXPECT_EQ(keptNames(), (std::vector<std::string>{
                               "Kordavan 2026-12-08 16-50-04.replay",
                               "Kordavan 2026-12-08 16-50-03 (10).replay",
                               "Kordavan 2026-12-08 16-50-03 (2).replay",
                               "Kordavan 2026-12-08 16-50-03.replay",
                               "Kordavan 2025-12-31 23-59-59.replay",
                           }));
}

TEST_F(RecordingsTest, PruningKeepsTheNewestFiftyAndEveryOtherFile) {
    for (int n = 0; n < 53; ++n) make(oldName(n));
    make("notes.txt");
    make("Kordavan best flight.replay");
    std::string reason;
    EXPECT_TRUE(pruneRecordings(folder, keptRecordingCount, reason)) << reason;
    const std::vector<std::string> kept = keptNames();
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_EQ(kept.front(), oldName(52));
    EXPECT_EQ(kept.back(), oldName(3));
    for (int n = 0; n < 3; ++n) EXPECT_FALSE(std::filesystem::exists(folder / oldName(n)));
    EXPECT_TRUE(std::filesystem::exists(folder / "notes.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Kordavan best flight.replay"));
    // Fifty or fewer: nothing goes.
    EXPECT_TRUE(pruneRecordings(folder, keptRecordingCount, reason));
    EXPECT_EQ(keptNames().size(), 50u);
}

TEST_F(RecordingsTest, AMissingFolderKeepsNothingAndPrunesWithoutComplaint) {
    const auto missing = folder / "recordings";
    EXPECT_TRUE(keptRecordings(missing).empty());
    std::string reason;
    EXPECT_TRUE(pruneRecordings(missing, keptRecordingCount, reason));
    EXPECT_TRUE(reason.empty());
    EXPECT_FALSE(std::filesystem::exists(missing));
}

#ifndef _WIN32
// (On Windows the settings folder is in %APPDATA%: tests/windows/windows_settings_test.cpp.)
TEST_F(RecordingsTest, TheFolderSitsBesideTheSettings) {
    const char* before = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = before ? before : "";
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    EXPECT_EQ(recordingsFolder(), folder / "kordavan" / "recordings");
    if (before) {
        setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}
#endif

}  // namespace
