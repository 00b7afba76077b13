#pragma once
// The small pieces of text the settings file and the command line are read
// with. They sit below the settings table, which reads its values with them.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// `text` without the spaces, tabs and carriage returns around it.
std::string_view trim(std::string_view text);
// Matches a key or a word of a value as the file is read: in any case.
bool sameWord(std::string_view a, std::string_view b);
// A piece of the file fit for a warning: quoted, printable, shortened.
std::string shownText(std::string_view text);
// The word of `words` a misspelt `word` most likely meant, for a warning's
// "did you mean ...?": at most two letters away (in any case, with _ for -),
// and never more than a third of the word; empty when none is that close.
std::string_view nearestWord(std::string_view word, std::span<const std::string> words);
// 1 for yes, true, on or 1, 0 for no, false, off or 0, in any case; empty
// for anything else.
std::optional<int> yesOrNo(std::string_view value);

// `text` filled into lines of at most `width` columns after `line`, which
// holds what its first line has so far; further lines start with `indent`
// spaces. Each line ends with a newline.
std::string filledLines(size_t width, std::string line, std::string_view text, size_t indent);
