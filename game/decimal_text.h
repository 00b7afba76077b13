#pragma once
// The game state's numbers as text and back: the trace prints them and a
// replay file stores them the same way on every build, the browser's
// included, whose standard library's <charconv> knows only integers.

#include <cstdint>
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

// A whole number from lowest to highest, written as std::from_chars reads
// one: decimal digits after an optional minus, and nothing else (no plus, no
// spaces, no fraction), the whole text; nullopt otherwise. The settings
// file, the command line and the replay file all read their whole numbers
// with it (the command line wants a digit first as well).
std::optional<int64_t> wholeNumber(std::string_view text, int64_t lowest, int64_t highest);
