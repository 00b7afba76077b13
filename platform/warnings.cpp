// Warnings on standard error, or kept for one box at the end.

#include "platform/warnings.h"

#include <cstdio>
#include <mutex>
#include <streambuf>

#include "platform/files.h"
#include "platform/platform.h"

namespace platform {

namespace {

// A box taller than the screen hides its own OK button: the first lines
// only, the log file has them all.
constexpr int linesInBox = 12;

struct Kept {
    std::mutex lock;
    bool collecting = false;
    bool shown = false;
    std::filesystem::path logFile;
    std::string text;
    int lines = 0;
};

Kept& kept() {
    static Kept instance;
    return instance;
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
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        return;
    }
    state.text += line;
    for (const char c : line) state.lines += c == '\n' ? 1 : 0;
}

std::ostream& warnings() {
    static WarningLines lines;
    static std::ostream stream(&lines);
    return stream;
}

void collectWarnings(const std::filesystem::path& logFile) {
    Kept& state = kept();
    const std::lock_guard<std::mutex> hold(state.lock);
    state.collecting = true;
    state.shown = false;
    state.logFile = logFile;
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
    int lines = 0;
    {
        Kept& state = kept();
        const std::lock_guard<std::mutex> hold(state.lock);
        if (!state.collecting || state.shown || state.text.empty()) return;
        state.shown = true;
        text = state.text;
        logFile = state.logFile;
        lines = state.lines;
    }
    std::string box = firstLines(text, lines);
    std::string reason;
    if (!logFile.empty() && replaceFile(logFile, text, reason)) {
        box.append("\nThese messages are also in ").append(logFile.string()).append(".\n");
    }
    if (!advice.empty()) box.append("\n").append(advice);
    messageBox(box.c_str(), "Kordavan");
}

}  // namespace platform
