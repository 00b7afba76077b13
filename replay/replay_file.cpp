// The replay file's lines: written one at a time as a game goes, read as a
// whole. A replay comes from anywhere (players share them), so reading
// trusts nothing: every value must be one the game itself can hold.

#include "replay/replay_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "game/decimal_text.h"
#include "game/state_fields.h"

namespace {

constexpr GameEnding endings[] = {GameEnding::won, GameEnding::lost, GameEnding::quit};

// Long enough for any number the game holds; a longer word is not one.
constexpr size_t longestValue = 40;

// A damaged file can hold anything: messages show a short, printable piece.
std::string shown(std::string_view text) {
    std::string out = "\"";
    for (char c : text.substr(0, 40)) out += c >= ' ' && c < 127 ? c : '?';
    if (text.size() > 40) out += "...";
    return out + "\"";
}

std::vector<std::string_view> words(std::string_view line, bool commas) {
    std::vector<std::string_view> out;
    size_t i = 0;
    const auto separator = [commas](char c) {
        return c == ' ' || c == '\t' || (commas && c == ',');
    };
    while (i < line.size()) {
        while (i < line.size() && separator(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !separator(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

std::optional<double> number(std::string_view text) {
    if (text.empty() || text.size() > longestValue) return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    // strtod also reads hexadecimal and "inf"; the file holds only decimals.
    if (copy.find_first_not_of("0123456789+-.eE") != std::string::npos) return std::nullopt;
    return value;
}

void appendField(std::string& out, std::string_view name, const std::string& value) {
    out.append(" ").append(name).append("=").append(value);
}

void appendMoment(std::string& out, const GameMoment& moment) {
    appendField(out, "random", std::to_string(moment.random));
    for (const StateField& field : stateFields()) {
        appendField(out, field.name, replayNumber(readField(moment.state, field)));
    }
}

// name=value words, each known name once: random, every state field, and
// the extra whole numbers asked for (steps, passes).
bool readFields(std::span<const std::string_view> fields, GameMoment& moment,
                std::vector<std::pair<std::string_view, int64_t*>> extras, std::string& error) {
    std::vector<std::string_view> seen;
    for (std::string_view word : fields) {
        const size_t equals = word.find('=');
        if (equals == std::string_view::npos) {
            error = "expected name=value, got " + shown(word);
            return false;
        }
        const std::string_view name = word.substr(0, equals);
        const std::string_view value = word.substr(equals + 1);
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            error = std::string(name.substr(0, 40)) + " is given twice";
            return false;
        }
        seen.push_back(name);
        const auto extra = std::find_if(extras.begin(), extras.end(),
                                        [name](const auto& e) { return e.first == name; });
        if (name == "random" || extra != extras.end()) {
            const auto whole = wholeNumber(value, 0, name == "random" ? UINT32_MAX : longestPlay);
            if (!whole) {
                error =
                    std::string(name) + " must be a whole number" +
                    (name == "random" ? std::string()
                                      : " up to a day of play, " + std::to_string(longestPlay)) +
                    ", not " + shown(value);
                return false;
            }
            if (name == "random") {
                moment.random = static_cast<uint32_t>(*whole);
            } else {
                *extra->second = *whole;
            }
            continue;
        }
        const StateField* field = findStateField(name);
        if (field == nullptr) {
            error = "unknown field " + shown(name);
            return false;
        }
        const std::optional<double> parsed = number(value);
        // Only what the game can hold: anything else would draw from outside
        // a picture or overflow the game's whole-pixel arithmetic.
        if (!parsed || !settable(*field, *parsed)) {
            error = std::string(name) + " cannot be " + shown(value);
            return false;
        }
        writeField(moment.state, *field, *parsed);
    }
    const size_t wanted = 1 + stateFields().size() + extras.size();
    if (seen.size() != wanted) {
        error = "every field must be given: " + std::to_string(seen.size()) + " of " +
                std::to_string(wanted) + " are";
        return false;
    }
    return true;
}

bool readControls(std::string_view line, Controls& controls, std::string& error) {
    for (std::string_view word : words(line, true)) {
        const ControlWord* known = findControlWord(word);
        if (known == nullptr) {
            error = "unknown control " + shown(word) + " (controls: " + controlWordList() + ")";
            return false;
        }
        controls.*(known->member) = true;
    }
    return true;
}

bool readEnd(std::span<const std::string_view> fields, const ReplayGame& game, GameEnd& end,
             std::string& error) {
    if (fields.empty()) {
        error = "an end line needs won, lost or quit";
        return false;
    }
    const auto ending = std::find_if(std::begin(endings), std::end(endings),
                                     [&](GameEnding e) { return fields[0] == endingName(e); });
    if (ending == std::end(endings)) {
        error = "a game ends won, lost or quit, not " + shown(fields[0]);
        return false;
    }
    end.ending = *ending;
    if (!readFields(fields.subspan(1), end.moment, {{"steps", &end.steps}, {"passes", &end.passes}},
                    error)) {
        return false;
    }
    const auto lines = static_cast<int64_t>(game.steps.size());
    const bool quit = end.ending == GameEnding::quit;
    const int64_t steps = quit ? lines : lines + 1;
    if (end.steps != steps) {
        error = "steps=" + std::to_string(end.steps) + " must be " + std::to_string(steps) +
                ": the game has " + std::to_string(lines) + " lines of controls" +
                (quit ? "" : " and one step more, its end picture's");
        return false;
    }
    if (quit != (end.passes == 0)) {
        error = quit ? "a game that was quit shows no end picture: passes must be 0"
                     : "an end picture shows at least one pass";
        return false;
    }
    if (quit && (game.steps.empty() || !game.steps.back().quit)) {
        error = "a game quit with Escape ends with an ESCAPE step";
        return false;
    }
    return true;
}

bool readHeader(std::string_view line, std::string& error) {
    const std::vector<std::string_view> parts = words(line, false);
    if (parts.size() != 2 || parts[0] != replayFormatName) {
        error = "not a Kordavan replay: it must begin with \"" + std::string(replayFormatName) +
                " " + std::to_string(replayFormatVersion) + "\"";
        return false;
    }
    const auto version = wholeNumber(parts[1], 0, 1'000'000);
    if (!version || *version != replayFormatVersion) {
        error = "replay format version " + shown(parts[1]) + "; this game reads version " +
                std::to_string(replayFormatVersion);
        return false;
    }
    return true;
}

// One line after the first; false with the reason. `steps` counts the
// lines of controls of the whole replay.
bool readLine(std::string_view line, Replay& replay, int64_t& steps, std::string& error) {
    const std::vector<std::string_view> parts = words(line, false);
    ReplayGame* game = replay.games.empty() ? nullptr : &replay.games.back();
    const bool ended = game == nullptr || game->end.has_value();
    if (!parts.empty() && parts[0] == "game") {
        if (!ended) {
            error = "a game begins before the last one has ended";
            return false;
        }
        ReplayGame next;
        if (!readFields(std::span(parts).subspan(1), next.start, {}, error)) return false;
        replay.games.push_back(std::move(next));
        return true;
    }
    if (ended) {
        error = "controls or an end outside a game (a game line must come first)";
        return false;
    }
    if (!parts.empty() && parts[0] == "end") {
        GameEnd end;
        if (!readEnd(std::span(parts).subspan(1), *game, end, error)) return false;
        game->end = end;
        return true;
    }
    if (!game->steps.empty() && game->steps.back().quit) {
        error = "nothing but the end comes after an ESCAPE step, which ends the game";
        return false;
    }
    Controls controls;
    if (!readControls(line, controls, error)) return false;
    // Refused as soon as it is too long, before it takes ten times its
    // size in memory.
    if (++steps > longestPlay) {
        error = "more steps than a day of play (" + std::to_string(longestPlay) + ")";
        return false;
    }
    game->steps.push_back(controls);
    return true;
}

// Some Windows editors begin a UTF-8 file with a byte-order mark.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::string replayNumber(double value) {
    return shortestText(value);
}

const char* endingName(GameEnding ending) {
    switch (ending) {
        case GameEnding::won:
            return "won";
        case GameEnding::lost:
            return "lost";
        case GameEnding::quit:
            break;
    }
    return "quit";
}

std::string replayHeaderLine() {
    return std::string(replayFormatName) + " " + std::to_string(replayFormatVersion) + "\n";
}

std::string gameStartLine(const GameMoment& start) {
    std::string out = "game";
    appendMoment(out, start);
    return out + "\n";
}

std::string controlsWords(const Controls& controls) {
    std::string out;
    for (const ControlWord& control : controlWords) {
        if (!(controls.*(control.member))) continue;
        if (!out.empty()) out += ' ';
        out += control.word;
    }
    return out;
}

std::string controlsLine(const Controls& controls) {
    return controlsWords(controls) + "\n";
}

std::string gameEndLine(const GameEnd& end) {
    std::string out = std::string("end ") + endingName(end.ending);
    appendField(out, "steps", std::to_string(end.steps));
    appendField(out, "passes", std::to_string(end.passes));
    appendMoment(out, end.moment);
    return out + "\n";
}

bool parseReplay(std::string_view text, Replay& replay, std::string& error) {
    replay = Replay{};
    if (text.starts_with(byteOrderMark)) text.remove_prefix(byteOrderMark.size());
    // The recorder ends every line it writes: a last line without its end
    // is a write the disk, a crash or a kill cut short.
    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    const bool lastLineCut = !text.empty() && text.back() != '\n';
    if (lastLineCut) {
        replay.cut = "line " + std::to_string(lines + 1) +
                     " is cut short (no line end): the recording was cut off there, and the "
                     "replay ends before it";
        text = text.substr(0, text.rfind('\n') + 1);
    }
    size_t lineNumber = 0;
    int64_t steps = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        // A file that went through a Windows editor plays the same.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const bool printable = std::all_of(
            line.begin(), line.end(), [](char c) { return (c >= ' ' && c < 127) || c == '\t'; });
        std::string why;
        const bool read = !printable        ? (why = "holds a character no replay has", false)
                          : lineNumber == 1 ? readHeader(line, why)
                                            : readLine(line, replay, steps, why);
        if (!read) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
    }
    if (lineNumber == 0 && !lastLineCut) {
        error = "line 1: the file is empty, not a Kordavan replay";
        return false;
    }
    // A game line with nothing after it is a recording cut off as the game
    // began: there is no step of it to play.
    if (!replay.games.empty() && replay.games.back().steps.empty() && !replay.games.back().end) {
        replay.games.pop_back();
        replay.cut =
            "line " + std::to_string(lines) +
            " begins a game and nothing follows: the recording was cut off there" +
            (lastLineCut ? " (and line " + std::to_string(lines + 1) + " is cut short)" : "") +
            ", and the replay ends before it";
    }
    // Whole lines and then nothing: the disk filled or the game was killed
    // before the last game's end line was written.
    if (replay.cut.empty() && !replay.games.empty() && !replay.games.back().end) {
        replay.cut = "the last game has no end line: the recording was cut off after line " +
                     std::to_string(lines) + ", and the replay ends there";
    }
    if (replay.games.empty()) {
        error = replay.cut.empty()
                    ? "line " + std::to_string(lineNumber) + ": the replay holds no game"
                    : replay.cut + "; the replay holds no game";
        return false;
    }
    return true;
}

std::optional<std::string> firstDifference(const GameEnd& recorded, const GameEnd& actual) {
    if (recorded.ending != actual.ending) {
        return std::string("the game ended ") + endingName(actual.ending) +
               ", the replay recorded " + endingName(recorded.ending);
    }
    const auto differs = [](std::string_view name, const std::string& now,
                            const std::string& then) -> std::optional<std::string> {
        if (now == then) return std::nullopt;
        return std::string(name) + " is " + now + ", the replay recorded " + then;
    };
    if (auto d = differs("steps", std::to_string(actual.steps), std::to_string(recorded.steps))) {
        return d;
    }
    for (const StateField& field : stateFields()) {
        if (auto d = differs(field.name, replayNumber(readField(actual.moment.state, field)),
                             replayNumber(readField(recorded.moment.state, field)))) {
            return d;
        }
    }
    return differs("random", std::to_string(actual.moment.random),
                   std::to_string(recorded.moment.random));
}
