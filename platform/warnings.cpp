// Warnings on standard error, or kept for one box at the end.

#include "platform/warnings.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <streambuf>
#include <system_error>

#include "platform/error_stream.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace platform {

namespace {

// A box taller than the screen hides its own OK button: the first lines
// only, the log file has them all.
constexpr int linesInBox = 12;

// What waits for standard error is a few screens of text at most: a stream
// nobody reads must not make the game hoard memory.
constexpr size_t mostWaiting = 16 * 1024;

// Windows' own line end, which its older Notepad needs and its C library
// wrote to standard error before.
#ifdef _WIN32
constexpr std::string_view machineLineEnd = "\r\n";
#else
constexpr std::string_view machineLineEnd = "\n";
#endif

struct Kept {
    std::mutex lock;
    bool collecting = false;
    bool shown = false;
    std::filesystem::path logFile;
    std::string heading;
    std::string text;
    int lines = 0;
    // Text standard error has not taken yet: whole lines, the first of them
    // perhaps begun already.
    std::string waiting;
    // Lines standard error could not take, not told yet.
    int lost = 0;
    // The lines the count at the head of `waiting` stands for, and how much
    // of it is still to go.
    int counted = 0;
    size_t countLeft = 0;
};

Kept& kept() {
    static Kept instance;
    return instance;
}

// Whether anything waits, asked every frame without taking the lock.
std::atomic<bool> anyWaiting{false};

int lineCount(std::string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Writes what waits as far as standard error takes it now, then the count
// of what it never took, once it takes text again.
void send(Kept& state) {
    for (;;) {
        while (!state.waiting.empty()) {
            const std::ptrdiff_t sent = writeErrorsNow(state.waiting);
            if (sent == 0) {
                anyWaiting = true;
                return;
            }
            if (sent < 0) {
                // The count stands for the lines it counts, not for itself.
                state.lost +=
                    lineCount(state.waiting) + (state.countLeft > 0 ? state.counted - 1 : 0);
                state.waiting.clear();
                state.countLeft = 0;
                anyWaiting = false;
                return;
            }
            const auto done = static_cast<size_t>(sent);
            state.waiting.erase(0, done);
            state.countLeft -= std::min(state.countLeft, done);
        }
        anyWaiting = false;
        if (state.lost == 0) return;
        state.counted = state.lost;
        state.lost = 0;
        state.waiting = withLineEnds("kordavan: " + std::to_string(state.counted) +
                                         (state.counted == 1 ? " message" : " messages") +
                                         " could not be written to standard error\n",
                                     machineLineEnd);
        state.countLeft = state.waiting.size();
    }
}

// Hands every finished line to warn().
class WarningLines final : public std::streambuf {
  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        line.push_back(traits_type::to_char_type(c));
        if (line.back() == '\n') {
            warn(line);
            line.clear();
        }
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        for (std::streamsize i = 0; i < count; ++i) overflow(traits_type::to_int_type(text[i]));
        return count;
    }

  private:
    std::string line;
};

// The first lines of `text`, and how many more there are.
std::string firstLines(const std::string& text, int lines) {
    size_t end = 0;
    for (int i = 0; i < linesInBox && end < text.size(); ++i) {
        const size_t next = text.find('\n', end);
        end = next == std::string::npos ? text.size() : next + 1;
    }
    std::string shown = text.substr(0, end);
    if (lines > linesInBox) {
        shown.append("(and ").append(std::to_string(lines - linesInBox)).append(" more)\n");
    }
    return shown;
}

}  // namespace

void warn(std::string_view text) {
    if (text.empty()) return;
    std::string line(text);
    if (line.back() != '\n') line += '\n';
    Kept& state = kept();
    const std::lock_guard<std::mutex> hold(state.lock);
    if (!state.collecting) {
        send(state);
        if (state.waiting.size() + line.size() > mostWaiting) {
            state.lost += lineCount(line);
            return;
        }
        state.waiting += withLineEnds(line, machineLineEnd);
        send(state);
        return;
    }
    state.text += line;
    state.lines += lineCount(line);
}

std::ostream& warnings() {
    static WarningLines lines;
    static std::ostream stream(&lines);
    return stream;
}

void sendWarnings() {
    if (!anyWaiting) return;
    Kept& state = kept();
    const std::lock_guard<std::mutex> hold(state.lock);
    send(state);
}

void collectWarnings(const std::filesystem::path& logFile, std::string_view heading) {
    Kept& state = kept();
    const std::lock_guard<std::mutex> hold(state.lock);
    state.collecting = true;
    state.shown = false;
    state.logFile = logFile;
    state.heading = heading;
    state.text.clear();
    state.lines = 0;
}

void writeWarnings() {
    Kept& state = kept();
    const std::lock_guard<std::mutex> hold(state.lock);
    state.collecting = false;
    state.text.clear();
    state.lines = 0;
}

const std::string& keptWarnings() {
    return kept().text;
}

void showWarnings(std::string_view advice) {
    std::string text;
    std::filesystem::path logFile;
    std::string heading;
    int lines = 0;
    {
        Kept& state = kept();
        const std::lock_guard<std::mutex> hold(state.lock);
        if (!state.collecting || state.shown) return;
        state.shown = true;
        text = state.text;
        logFile = state.logFile;
        heading = state.heading;
        lines = state.lines;
    }
    if (text.empty()) {
        std::error_code ignored;
        if (!logFile.empty()) std::filesystem::remove(logFile, ignored);
        return;
    }
    std::string box = firstLines(text, lines);
    std::string reason;
    const std::string log =
        withLineEnds(heading.empty() ? text : heading + "\n" + text, machineLineEnd);
    if (!logFile.empty() && replaceFile(logFile, log, reason)) {
        box.append("\nThese messages are also in ").append(logFile.string()).append(".\n");
    }
    if (!advice.empty()) box.append("\n").append(advice);
    messageBox(box.c_str(), "Kordavan");
}

std::string runHeading(std::string_view versionLine, std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::string heading(versionLine.substr(0, versionLine.find('\n')));
    // The name as the title bar shows it, not as it is typed.
    if (!heading.empty()) heading[0] = static_cast<char>(std::toupper(heading[0]));
    return heading + ", " + stamp;
}

std::string withLineEnds(std::string_view text, std::string_view lineEnd) {
    std::string ended;
    ended.reserve(text.size() + text.size() / 16);
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') continue;
        if (text[at] == '\n') {
            ended += lineEnd;
        } else {
            ended += text[at];
        }
    }
    return ended;
}

}  // namespace platform
