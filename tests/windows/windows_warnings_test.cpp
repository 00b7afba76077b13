// Warnings from a Windows game started from a command prompt whose standard
// error is a pipe nobody reads: the game never waits for it, and what the
// pipe could not take is counted there once it is read again.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>

#include "platform/warnings.h"
#include "platform/windows/win_machine.h"

namespace {

// Everything in the pipe now, without waiting for more.
std::string drain(HANDLE reader) {
    std::string text;
    DWORD waiting = 0;
    while (PeekNamedPipe(reader, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
        std::string part(waiting, '\0');
        DWORD got = 0;
        if (!ReadFile(reader, part.data(), waiting, &got, nullptr)) break;
        text.append(part, 0, got);
    }
    return text;
}

int count(const std::string& text, const std::string& what) {
    int found = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++found;
    }
    return found;
}

TEST(WindowsWarnings, AFullPipeKeepsNothingWaitingAndTheCountComesWhenItIsRead) {
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    ASSERT_TRUE(CreatePipe(&reader, &writer, nullptr, 4096));
    std::fflush(stderr);
    const int saved = _dup(_fileno(stderr));
    const int pipe = _open_osfhandle(reinterpret_cast<intptr_t>(writer), _O_WRONLY | _O_BINARY);
    _dup2(pipe, _fileno(stderr));
    _close(pipe);

    constexpr int flood = 3000;
    auto warning = std::async(std::launch::async, [] {
        for (int line = 0; line < flood; ++line) {
            platform::warn("kordavan: warning " + std::to_string(line));
        }
    });
    const bool done = warning.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    EXPECT_TRUE(done) << "the warnings waited for a reader";
    // Read as a player's console would, frame by frame.
    std::string read;
    while (warning.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        read += drain(reader);
    }
    for (int frame = 0; frame < 20; ++frame) {
        read += drain(reader);
        platform::sendWarnings();
    }
    platform::warn("kordavan: the pipe is read again");
    read += drain(reader);
    _dup2(saved, _fileno(stderr));
    _close(saved);
    CloseHandle(reader);

    const int arrived = count(read, "kordavan: warning ");
    EXPECT_EQ(arrived, count(read, "\r\n") - 2) << "every line whole, ended as Windows ends it";
    if (done) {
        EXPECT_LT(arrived, flood);
    }
    const std::string last = "kordavan: " + std::to_string(flood - arrived) +
                             " messages could not be written to standard error\r\n"
                             "kordavan: the pipe is read again\r\n";
    ASSERT_GE(read.size(), last.size());
    EXPECT_EQ(read.substr(read.size() - last.size()), last);
}

}  // namespace
