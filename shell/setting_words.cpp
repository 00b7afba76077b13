// The settings file's words: players write them by hand, in any case.

#include "shell/setting_words.h"

#include <algorithm>

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// A damaged file can hold anything; the warning shows a short, printable
// piece of it.
std::string shownText(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 40)) out += c >= ' ' && c != 127 ? c : '?';
    if (text.size() > 40) out += "...";
    return "\"" + out + "\"";
}

std::optional<int> yesOrNo(std::string_view value) {
    for (std::string_view yes : {"yes", "true", "on", "1"}) {
        if (sameWord(value, yes)) return 1;
    }
    for (std::string_view no : {"no", "false", "off", "0"}) {
        if (sameWord(value, no)) return 0;
    }
    return std::nullopt;
}

std::string filledLines(size_t width, std::string line, std::string_view text, size_t indent) {
    std::string out;
    bool lineHasWords = false;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
        if (lineHasWords && line.size() + 1 + word.size() > width) {
            out += line + "\n";
            line.assign(indent, ' ');
            lineHasWords = false;
        }
        if (lineHasWords) line += ' ';
        line += word;
        lineHasWords = true;
    }
    return out + line + "\n";
}
