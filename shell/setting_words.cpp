// The settings file's words: players write them by hand, in any case.

#include "shell/setting_words.h"

#include <algorithm>
#include <vector>

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// As a player mistypes a key: in any case, with _ for -.
char normal(char c) {
    return c == '_' ? '-' : lower(c);
}

// The letters to add, remove or change to turn one word into the other.
size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            const size_t change = diagonal + (normal(a[i - 1]) == normal(b[j - 1]) ? 0 : 1);
            row[j] = std::min({change, row[j - 1] + 1, above + 1});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string_view nearestWord(std::string_view word, std::span<const std::string> words) {
    std::string_view best;
    size_t bestDistance = std::min<size_t>(2, word.size() / 3);
    for (const std::string& candidate : words) {
        const size_t distance = editDistance(word, candidate);
        if (distance <= bestDistance && (best.empty() || distance < bestDistance)) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

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
