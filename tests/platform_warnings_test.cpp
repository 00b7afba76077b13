// Warnings a player must see: on standard error from a terminal, or kept and
// shown once in one box, with a log file, when nobody reads standard error.

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/headless.h"
#include "platform/warnings.h"

namespace {

namespace fs = std::filesystem;

class Warnings : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        // A folder of each test's own: CTest runs them side by side.
        folder = fs::temp_directory_path() /
                 (std::string("kordavan-warnings-") +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
    }
    void TearDown() override {
        platform::writeWarnings();
        fs::remove_all(folder);
    }
    fs::path folder;
};

std::string fileText(const fs::path& path) {
    return platform::readFile(path, 1 << 20).text;
}

// The log as Windows' own Notepad reads it, with a carriage return before
// every line feed.
std::string onThisMachine(const std::string& text) {
#ifdef _WIN32
    std::string ended;
    for (const char c : text) ended += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return ended;
#else
    return text;
#endif
}

TEST_F(Warnings, GoToStandardErrorUntilCollected) {
    testing::internal::CaptureStderr();
    platform::warn("kordavan: one");
    platform::warnings() << "kordavan.conf:" << 3 << ": no control called \"jump\"\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kordavan: one\nkordavan.conf:3: no control called \"jump\"\n");
    platform::showWarnings("advice");
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
}

TEST_F(Warnings, CollectedAreShownOnceInOneBoxAfterTheGame) {
    platform::collectWarnings(folder / "kordavan.log");
    testing::internal::CaptureStderr();
    platform::warnings() << "Kordavan: cannot save "
                         << "the display choice\n";
    platform::warn("kordavan: no sound device could be opened\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);

    platform::showWarnings("Start it with --no-sound.");
    ASSERT_EQ(platform::headless::messageBoxCount(), 1);
    const std::string& box = platform::headless::lastMessageBox();
    EXPECT_NE(box.find("Kordavan: cannot save the display choice\n"
                       "kordavan: no sound device could be opened\n"),
              std::string::npos)
        << box;
    EXPECT_NE(box.find("Start it with --no-sound."), std::string::npos) << box;
    EXPECT_NE(box.find((folder / "kordavan.log").string()), std::string::npos) << box;
    EXPECT_EQ(fileText(folder / "kordavan.log"),
              onThisMachine("Kordavan: cannot save the display choice\n"
                            "kordavan: no sound device could be opened\n"));

    platform::showWarnings("Start it with --no-sound.");
    EXPECT_EQ(platform::headless::messageBoxCount(), 1);
}

TEST_F(Warnings, NoneKeptNoBoxAndNoLog) {
    platform::collectWarnings(folder / "kordavan.log");
    platform::showWarnings("advice");
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    EXPECT_FALSE(fs::exists(folder / "kordavan.log"));
}

TEST_F(Warnings, ALongListFitsTheBoxAndStaysWholeInTheLog) {
    platform::collectWarnings(folder / "kordavan.log");
    for (int line = 1; line <= 40; ++line) {
        platform::warnings() << "kordavan.conf:" << line << ": bad line\n";
    }
    platform::showWarnings("");
    const std::string& box = platform::headless::lastMessageBox();
    EXPECT_NE(box.find("kordavan.conf:12: bad line\n(and 28 more)\n"), std::string::npos) << box;
    EXPECT_EQ(box.find("kordavan.conf:13:"), std::string::npos) << box;
    const std::string log = fileText(folder / "kordavan.log");
    EXPECT_NE(log.find(onThisMachine("kordavan.conf:40: bad line\n")), std::string::npos);
}

TEST_F(Warnings, WithoutALogFileTheBoxStillShows) {
    platform::collectWarnings({});
    platform::warn("kordavan: the replay went otherwise");
    platform::showWarnings("");
    ASSERT_EQ(platform::headless::messageBoxCount(), 1);
    EXPECT_EQ(platform::headless::lastMessageBox(), "kordavan: the replay went otherwise\n");
}

TEST_F(Warnings, TheLogHeadsItsRunWithTheVersionAndTheTime) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 10;
    when.tm_hour = 14;
    when.tm_min = 35;
    when.tm_sec = 2;
    when.tm_isdst = -1;
    const std::string heading = platform::runHeading("kordavan 1.2.0\n", std::mktime(&when));
    EXPECT_EQ(heading, "Kordavan 1.2.0, 2026-12-10 14:35:02");

    platform::collectWarnings(folder / "kordavan.log", heading);
    platform::warn("kordavan: no sound device could be opened");
    platform::showWarnings("");
    EXPECT_EQ(fileText(folder / "kordavan.log"),
              onThisMachine("Kordavan 1.2.0, 2026-12-10 14:35:02\n"
                            "kordavan: no sound device could be opened\n"));
    EXPECT_EQ(platform::headless::lastMessageBox().find("Kordavan 1.2.0"), std::string::npos)
        << "the box is this run's alone";
}

TEST_F(Warnings, ACleanRunLeavesNoOldWarningsStanding) {
    std::string reason;
    fs::create_directories(folder);
    ASSERT_TRUE(platform::replaceFile(folder / "kordavan.log", "kordavan: an old run's\n", reason));
    platform::collectWarnings(folder / "kordavan.log", "Kordavan 1.2.0, 2026-12-10 14:35:02");
    platform::showWarnings("advice");
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    EXPECT_FALSE(fs::exists(folder / "kordavan.log"));
}

TEST(WarningLineEnds, EveryLineEndsOnceWithTheMachinesOwn) {
    struct Case {
        const char* text;
        const char* lineEnd;
        const char* ended;
    };
    const Case cases[] = {
        {"one\ntwo\n", "\r\n", "one\r\ntwo\r\n"},
        {"one\r\ntwo\n", "\r\n", "one\r\ntwo\r\n"},
        {"\n\n", "\r\n", "\r\n\r\n"},
        {"no end", "\r\n", "no end"},
        {"a lone \r stays\n", "\r\n", "a lone \r stays\r\n"},
        {"one\r\ntwo\n", "\n", "one\ntwo\n"},
        {"", "\r\n", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::withLineEnds(c.text, c.lineEnd), c.ended) << c.text;
    }
}

}  // namespace
