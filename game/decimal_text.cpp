#include "game/decimal_text.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool readsBackAs(const std::string& digits, int exponent, double value) {
    std::string text =
        digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(exponent);
#ifdef _WIN32
    // Windows' C library reads some numbers just beside a power of two as
    // the power itself, which would let a digit too few pass; the C++
    // library's reader is exact.
    double read = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), read);
    return read == value;
#else
    return std::strtod(text.c_str(), nullptr) == value;
#endif
}

// The digits one unit in their last place further from zero.
void stepUp(std::string& digits, int& exponent) {
    size_t at = digits.size();
    while (at > 0 && digits[at - 1] == '9') digits[--at] = '0';
    if (at > 0) {
        ++digits[at - 1];
        return;
    }
    // 9.99 becomes 10.0: one digit more in front, as many as before in all.
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    ++exponent;
}

// The shortest digits that read back as `value` (positive and finite), and
// the power of ten of the first one; of several, the closest to `value`.
void shortestDigits(double value, std::string& digits, int& exponent) {
    char text[40];
    for (int precision = 1; precision <= 17; ++precision) {
        // Correctly rounded: the closest of all numbers with that many digits.
        std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
        digits.clear();
        const char* c = text;
        for (; *c != 'e'; ++c) {
            if (isDigit(*c)) digits += *c;
        }
        exponent = std::atoi(c + 1);
        if (readsBackAs(digits, exponent, value)) return;
        // Just above a power of two the doubles lie twice as far apart above
        // as below, so the next number up may still read back when the
        // closest, below, does not.
        std::string above = digits;
        int aboveExponent = exponent;
        stepUp(above, aboveExponent);
        if (readsBackAs(above, aboveExponent, value)) {
            digits = above;
            exponent = aboveExponent;
            return;
        }
    }
}

}  // namespace

std::string shortestText(double value) {
#if defined(__cpp_lib_to_chars)
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
#else
    return shortestDecimal(value);
#endif
}

std::string shortestDecimal(double value) {
    std::string text = std::signbit(value) ? "-" : "";
    if (std::isnan(value)) return text.append("nan");
    if (std::isinf(value)) return text.append("inf");
    if (value == 0.0) return text.append("0");

    std::string digits;
    int exponent = 0;
    shortestDigits(std::fabs(value), digits, exponent);
    const int count = static_cast<int>(digits.size());

    std::string scientific(1, digits[0]);
    if (count > 1) scientific.append(".").append(digits, 1);
    char power[16];
    std::snprintf(power, sizeof power, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    scientific.append(power);

    std::string fixed;
    if (exponent >= count - 1) {
        // A whole number costs as many characters with its own digits as
        // with zeros after the shortest ones, and its own are the closest.
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", std::fabs(value));
        fixed.append(whole);
    } else if (exponent >= 0) {
        const auto point = static_cast<size_t>(exponent) + 1;
        fixed.append(digits, 0, point).append(".").append(digits, point);
    } else {
        fixed.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
    }
    // A tie goes to the fixed form.
    return text.append(scientific.size() < fixed.size() ? scientific : fixed);
}

std::optional<double> parseDecimal(std::string_view text) {
    // [-] digits [. digits] [e [+|-] digits], with digits on at least one
    // side of the point: anything else is no number to <charconv>, and
    // infinities and NaN are no finite number either.
    size_t at = 0;
    const size_t size = text.size();
    if (at < size && text[at] == '-') ++at;
    size_t mantissaDigits = 0;
    while (at < size && isDigit(text[at])) ++at, ++mantissaDigits;
    if (at < size && text[at] == '.') {
        ++at;
        while (at < size && isDigit(text[at])) ++at, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (at < size && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < size && (text[at] == '+' || text[at] == '-')) ++at;
        size_t exponentDigits = 0;
        while (at < size && isDigit(text[at])) ++at, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (at != size) return std::nullopt;

    const std::string copy(text);
    errno = 0;
    const double value = std::strtod(copy.c_str(), nullptr);
    // Too large, or too small to be anything but zero, is out of range.
    if (!std::isfinite(value) || (errno == ERANGE && value == 0.0)) return std::nullopt;
    return value;
}

std::optional<int64_t> wholeNumber(std::string_view text, int64_t lowest, int64_t highest) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}
