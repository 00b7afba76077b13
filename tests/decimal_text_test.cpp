// The game's own double-to-text and text-to-double, used where the standard
// library's <charconv> knows only integers, must write and read exactly what
// <charconv> does, or the browser build's traces and replays would differ.

#include "game/decimal_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "replay/replay_file.h"

namespace {

std::string viaCharconv(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::optional<double> readViaCharconv(const std::string& text) {
    double value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last || text.empty() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

TEST(DecimalText, ValuesTheGameHoldsReadAsCharconvWritesThem) {
    std::vector<double> values = {0.0,    -0.0,   1.0,     -1.0,    0.4,     0.2,   -0.2,
                                  1920.0, 1900.5, 270.001, 352.0,   1e-7,    1e22,  100000.0,
                                  123456, 1e16,   1e15,    0.001,   0.0001,  1e-5,  5e-324,
                                  1e308,  0.3,    2.0 / 3, -4.0e-3, 65536.0, 1e100, 1.5e-300};
    // The speeds and positions of a helicopter pushed step by step.
    double velocity = 0.0;
    double position = 0.0;
    for (int step = 0; step < 2000; ++step) {
        velocity += step % 7 < 4 ? 0.4 : -0.2;
        position += velocity * 0.99;
        values.push_back(velocity);
        values.push_back(position);
    }
    for (double value : values) {
        EXPECT_EQ(shortestDecimal(value), viaCharconv(value)) << "for " << viaCharconv(value);
    }
}

TEST(DecimalText, AnyDoubleReadsAsCharconvWritesIt) {
    std::mt19937_64 bits(20240607);
    for (int i = 0; i < 20000; ++i) {
        const auto value = std::bit_cast<double>(bits());
        if (!std::isfinite(value)) continue;
        ASSERT_EQ(shortestDecimal(value), viaCharconv(value)) << "for " << viaCharconv(value);
    }
    // Powers of two, where the gap to the next double below is half that above.
    for (int power = -1074; power <= 1023; ++power) {
        const double value = std::ldexp(1.0, power);
        ASSERT_EQ(shortestDecimal(value), viaCharconv(value)) << "for 2^" << power;
    }
}

TEST(DecimalText, InfinitiesAndNanReadAsCharconvWritesThem) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(shortestDecimal(infinity), viaCharconv(infinity));
    EXPECT_EQ(shortestDecimal(-infinity), viaCharconv(-infinity));
    EXPECT_EQ(shortestDecimal(std::nan("")), viaCharconv(std::nan("")));
}

TEST(DecimalText, ParsingAcceptsAndRefusesWhatCharconvDoes) {
    for (const std::string text : {"0",      "-0",
                                   "1",      "-1.5",
                                   "0.4",    ".5",
                                   "5.",     "1e3",
                                   "1E3",    "1e+3",
                                   "1e-3",   "-2.5e-3",
                                   "1920",   "123456789012345678901234567890",
                                   "1e308",  "4.9e-324",
                                   "",       "-",
                                   ".",      "e3",
                                   "1e",     "1e+",
                                   "+1",     "--1",
                                   "1..2",   "1.2.3",
                                   " 1",     "1 ",
                                   "0x10",   "inf",
                                   "-inf",   "infinity",
                                   "nan",    "1e400",
                                   "-1e400", "1e-400",
                                   "12abc",  "1,5"}) {
        const std::optional<double> expected = readViaCharconv(text);
        const std::optional<double> actual = parseDecimal(text);
        ASSERT_EQ(actual.has_value(), expected.has_value()) << "for '" << text << "'";
        if (expected) {
            EXPECT_EQ(std::bit_cast<uint64_t>(*actual), std::bit_cast<uint64_t>(*expected))
                << "for '" << text << "'";
        }
    }
}

// One rule for the settings file's, the command line's and the replay
// file's whole numbers: what std::from_chars reads, the whole text, in range.
TEST(DecimalText, AWholeNumberIsDigitsAloneWithinItsRange) {
    const struct {
        const char* text;
        int64_t lowest;
        int64_t highest;
        std::optional<int64_t> read;
    } cases[] = {
        {"0", 0, 16, 0},
        {"16", 0, 16, 16},
        {"17", 0, 16, std::nullopt},
        {"-1", 0, 16, std::nullopt},
        {"-0", 0, 16, 0},  // a minus is from_chars' own; only zero survives a range from 0
        {"-5", -10, 10, -5},
        {"007", 0, 16, 7},
        {"4294967295", 0, UINT32_MAX, 4294967295},
        {"4294967296", 0, UINT32_MAX, std::nullopt},
        {"99999999999999999999", 0, INT64_MAX, std::nullopt},
        {"", 0, 16, std::nullopt},
        {"+3", 0, 16, std::nullopt},
        {" 3", 0, 16, std::nullopt},
        {"3 ", 0, 16, std::nullopt},
        {"3x", 0, 16, std::nullopt},
        {"2.5", 0, 16, std::nullopt},
        {"0x3", 0, 16, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wholeNumber(c.text, c.lowest, c.highest), c.read) << "'" << c.text << "'";
    }
}

TEST(DecimalText, AReplayStoresNumbersAsTheTracePrintsThem) {
    for (double value : {0.0, -0.0, 0.4, 1900.5, 2.0 / 3, 1e22, 5e-324, -4.0e-3}) {
        EXPECT_EQ(shortestText(value), viaCharconv(value));
        EXPECT_EQ(replayNumber(value), shortestText(value));
    }
}

}  // namespace
