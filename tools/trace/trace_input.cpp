// Parsing the command line and the key script of kordavan-trace.

#include "tools/trace/trace_input.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include "game/controls.h"
#include "game/decimal_text.h"
#include "platform/platform.h"
#include "platform/printable.h"
#include "shell/control_table.h"

namespace {

// A key script names the game's keys by its controls' words, in any case,
// and presses each control's first default key.
std::optional<uint8_t> keyCode(std::string_view word) {
    const ControlWord* control = findControlWord(word);
    return control == nullptr ? std::nullopt : std::optional<uint8_t>(defaultKey(control->member));
}

// The whole text must be a number.
std::optional<double> parseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
#if defined(__cpp_lib_to_chars)
    double value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
#else
    return parseDecimal(text);
#endif
}

// The shortest text without an exponent that reads back as the same number.
std::string numberText(double value) {
#if defined(__cpp_lib_to_chars)
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, result.ptr);
#else
    // The ranges are whole numbers or short fractions: whole ones as such.
    if (value == static_cast<double>(static_cast<long long>(value)) && value < 1e15 &&
        value > -1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    return shortestDecimal(value);
#endif
}

bool parseSetting(std::string_view text, TraceOptions& options, std::string& error) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        error = "--set needs FIELD=VALUE, got " + quotedInput(text);
        return false;
    }
    const std::string_view name = text.substr(0, equals);
    const StateField* field = findStateField(name);
    if (field == nullptr) {
        error = "unknown game state field " + quotedInput(name);
        return false;
    }
    const std::string_view valueText = text.substr(equals + 1);
    const std::optional<double> value = parseNumber(valueText);
    if (!value) {
        error = "--set " + std::string(name) + " needs a number, got " + quotedInput(valueText);
        return false;
    }
    // Only what the game itself can hold: a value outside would draw from
    // outside a picture array or overflow the game's whole-pixel arithmetic.
    if (!settable(*field, *value)) {
        const bool whole = field->intMember != nullptr;
        error = "--set " + std::string(name) + " takes " + (whole ? "a whole number " : "") +
                "from " + numberText(field->settableLowest) + " to " +
                numberText(field->settableHighest) + ", got " + quotedInput(valueText);
        return false;
    }
    options.settings.push_back({field, *value});
    return true;
}

// The value of an option: the next argument, unless there is none or it is
// itself an option.
const std::string* optionValue(const std::vector<std::string>& arguments, size_t& i) {
    if (i + 1 >= arguments.size() || arguments[i + 1].rfind("--", 0) == 0) {
        return nullptr;
    }
    return &arguments[++i];
}

// A count after an option, 0 or more; need says what it must be.
bool parseCount(const std::vector<std::string>& arguments, size_t& i, const std::string& need,
                std::optional<int64_t>& count, std::string& error) {
    const std::string* text = optionValue(arguments, i);
    if (text == nullptr) {
        error = need;
        return false;
    }
    int64_t value = -1;
    const auto [end, result] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result != std::errc() || end != text->data() + text->size() || value < 0) {
        error = need + ", 0 or more, got " + quotedInput(*text);
        return false;
    }
    count = value;
    return true;
}

}  // namespace

const char* usageText() {
    return "usage: kordavan-trace [--steps N] [--set FIELD=VALUE]... [--draws] [--sounds]\n"
           "                      [--frames DIR [--frames-from N]] [--from-title] < keys\n"
           "       kordavan-trace --replay FILE [--draws] [--sounds] [--frames DIR]\n";
}

bool parseOptions(const std::vector<std::string>& arguments, TraceOptions& options,
                  std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--draws") {
            options.draws = true;
        } else if (argument == "--sounds") {
            options.sounds = true;
        } else if (argument == "--from-title") {
            options.fromTitle = true;
        } else if (argument == "--steps") {
            if (!parseCount(arguments, i, "--steps needs a whole number of steps", options.steps,
                            error)) {
                return false;
            }
        } else if (argument == "--frames-from") {
            if (!parseCount(arguments, i, "--frames-from needs a frame number", options.framesFrom,
                            error)) {
                return false;
            }
        } else if (argument == "--set") {
            const std::string* setting = optionValue(arguments, i);
            if (setting == nullptr) {
                error = "--set needs FIELD=VALUE";
                return false;
            }
            if (!parseSetting(*setting, options, error)) {
                return false;
            }
        } else if (argument == "--frames") {
            const std::string* folder = optionValue(arguments, i);
            if (folder == nullptr || folder->empty()) {
                error = "--frames needs a folder";
                return false;
            }
            options.framesDir = *folder;
        } else if (argument == "--replay") {
            const std::string* file = optionValue(arguments, i);
            if (file == nullptr || file->empty()) {
                error = "--replay needs a replay file";
                return false;
            }
            options.replayFile = *file;
        } else {
            error = "unknown argument " + quotedInput(argument);
            return false;
        }
    }
    if (!options.replayFile.empty() &&
        (options.steps || !options.settings.empty() || options.fromTitle)) {
        // Each game of a replay starts where its own game line says.
        error = "--replay takes no --steps, --set or --from-title";
        return false;
    }
    return true;
}

bool readKeyScript(std::istream& input, std::vector<platform::headless::Snapshot>& script,
                   std::string& error) {
    std::string line;
    size_t lineNumber = 0;
    while (std::getline(input, line)) {
        ++lineNumber;
        std::replace_if(
            line.begin(), line.end(),
            [](unsigned char c) { return c == ',' || std::isspace(c) != 0; }, ' ');
        platform::headless::Snapshot snapshot;
        size_t start = line.find_first_not_of(' ');
        while (start != std::string::npos) {
            const size_t end = line.find(' ', start);
            const std::string word = line.substr(start, end - start);
            const std::optional<uint8_t> code = keyCode(word);
            if (!code) {
                error = "line " + std::to_string(lineNumber) + ": unknown key " +
                        quotedInput(word) + " (keys: " + controlWordList() + ")";
                return false;
            }
            snapshot.push_back(*code);
            start = line.find_first_not_of(' ', end);
        }
        script.push_back(std::move(snapshot));
    }
    return true;
}
