// Warnings on a standard error that is a pipe: one nobody reads never keeps
// the game waiting, and what it could not take is counted and told once it
// is read again.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

#include "platform/warnings.h"

namespace {

// Standard error on a pipe of the test's own, read only when the test says.
class ErrorPipe : public ::testing::Test {
  protected:
    void SetUp() override {
        // A warning that waits for good is killed by the alarm, not the
        // test's time limit.
        alarm(60);
        signal(SIGPIPE, SIG_IGN);
        saved = dup(STDERR_FILENO);
        plug();
    }
    void TearDown() override {
        dup2(saved, STDERR_FILENO);
        close(saved);
        if (reader >= 0) close(reader);
        alarm(0);
    }
    void plug() {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        if (reader >= 0) close(reader);
        reader = ends[0];
        fcntl(reader, F_SETFL, O_NONBLOCK);
        dup2(ends[1], STDERR_FILENO);
        close(ends[1]);
    }
    // Everything in the pipe now.
    std::string drain() {
        std::string text;
        char buffer[4096];
        for (ssize_t got = 0; (got = read(reader, buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<size_t>(got));
        }
        return text;
    }
    int saved = -1;
    int reader = -1;
};

int count(const std::string& text, const std::string& what) {
    int found = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++found;
    }
    return found;
}

TEST_F(ErrorPipe, AFullPipeKeepsNothingWaitingAndTheCountComesWhenItIsRead) {
    constexpr int flood = 5000;
    for (int line = 0; line < flood; ++line) {
        platform::warnings() << "kordavan.conf:" << line << ": no control called \"jump\"\n";
    }
    // Read as a player's terminal would, frame by frame.
    std::string read;
    for (int frame = 0; frame < 20; ++frame) {
        read += drain();
        platform::sendWarnings();
    }
    platform::warn("kordavan: the pipe is read again");
    read += drain();

    const int arrived = count(read, ": no control called \"jump\"\n");
    EXPECT_EQ(arrived, count(read, "kordavan.conf:")) << "no line comes in part";
    EXPECT_GT(arrived, 0);
    EXPECT_LT(arrived, flood);
    const std::string told = "kordavan: " + std::to_string(flood - arrived) +
                             " messages could not be written to standard error\n";
    const std::string last = told + "kordavan: the pipe is read again\n";
    ASSERT_GE(read.size(), last.size());
    EXPECT_EQ(read.substr(read.size() - last.size()), last)
        << "the count comes once, before the next warning";
}

TEST_F(ErrorPipe, APipeWithoutAReaderCountsWhatItLostUntilAnotherTakesIt) {
    close(reader);
    reader = -1;
    platform::warn("kordavan: one");
    platform::warn("kordavan: two\nkordavan: three\n");
    plug();
    platform::warn("kordavan: four");
    EXPECT_EQ(drain(),
              "kordavan: 3 messages could not be written to standard error\n"
              "kordavan: four\n");
    platform::warn("kordavan: five");
    EXPECT_EQ(drain(), "kordavan: five\n") << "the count is told once";
}

}  // namespace
