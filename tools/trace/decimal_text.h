#pragma once
// Doubles as text and back, exactly as <charconv> does it, for standard
// libraries whose <charconv> knows only integers (emscripten's, for the node
// build of kordavan-trace). The trace must read the same on every build.

#include <optional>
#include <string>
#include <string_view>

// What std::to_chars(first, last, value) writes: the fewest digits that read
// back as the same double, fixed or with an exponent, whichever is shorter.
std::string shortestDecimal(double value);

// What std::from_chars(first, last, value) reads, when the number takes up
// the whole text and the result is in range; nullopt otherwise.
std::optional<double> parseDecimal(std::string_view text);
