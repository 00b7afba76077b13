#pragma once
// The game state's numbers as text and back: the trace prints them and a
// replay file stores them the same way on every build, the browser's
// included, whose standard library's <charconv> knows only integers.

#include <optional>
#include <string>
#include <string_view>

// The shortest text that reads back as the same double: what
// std::to_chars(first, last, value) writes, on every build.
std::string shortestText(double value);

// The same worked out by hand, for a library without a <charconv> for
// doubles: what std::to_chars(first, last, value) writes: the fewest digits that read
// back as the same double, fixed or with an exponent, whichever is shorter.
std::string shortestDecimal(double value);

// What std::from_chars(first, last, value) reads, when the number takes up
// the whole text and the result is in range; nullopt otherwise.
std::optional<double> parseDecimal(std::string_view text);
